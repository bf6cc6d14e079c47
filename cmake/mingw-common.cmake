# Shared by both mingw-w64 toolchain files. The -posix compilers are needed:
# GoogleTest does not build with the win32 thread model.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the outputs need no mingw DLLs next to them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# The widl that matches this target.
set(WIDL_EXECUTABLE ${TOOLCHAIN_PREFIX}-widl)
# Tests run through this Wine loader (wine for 32-bit, wine64 for 64-bit).
set(WINE_LOADER ${WINE_LOADER_DEFAULT} CACHE FILEPATH "Wine loader that runs this target's programs")
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_LOADER})
