# cmake -DPAGE=<file> -P check_page.cmake
# A reference page must stand alone: nothing on it is fetched from the
# network, and every link and source on it leads to an element of the page
# itself. The build fails on a page that does not.
file(READ "${PAGE}" page)
foreach(remote "http:" "https:" "@import" "url(")
  string(FIND "${page}" "${remote}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${PAGE}: names a remote resource (${remote})")
  endif()
endforeach()
string(REGEX MATCHALL "(href|src)=\"[^\"]*\"" references "${page}")
if(NOT references)
  message(FATAL_ERROR "${PAGE}: has no links at all")
endif()
foreach(reference IN LISTS references)
  if(NOT reference MATCHES "=\"#([^\"]+)\"$")
    message(FATAL_ERROR "${PAGE}: ${reference} leads off the page")
  endif()
  string(FIND "${page}" "id=\"${CMAKE_MATCH_1}\"" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PAGE}: ${reference} leads nowhere on the page")
  endif()
endforeach()
