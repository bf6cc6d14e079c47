#include "component/registration_free.h"

#include <oleauto.h>

#include <utility>

#include "common/bstr.h"
#include "common/hresult.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "common/type_attr.h"

namespace component {
namespace {

// Text for an XML attribute value.
std::string XmlAttribute(std::wstring_view text) {
  std::string out;
  for (char c : common::Utf8(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

// The class part of a ProgID: "Traylume" of "TraylumeControl.Traylume".
std::wstring_view ClassPart(std::wstring_view progId) {
  const size_t dot = progId.find(L'.');
  if (dot == std::wstring_view::npos) return progId;
  std::wstring_view rest = progId.substr(dot + 1);
  return rest.substr(0, rest.find(L'.'));
}

// A file with a fresh name in a folder, deleted when it goes.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::wstring& folder) {
    wchar_t name[MAX_PATH + 1] = {};
    if (!folder.empty() && ::GetTempFileNameW(folder.c_str(), L"tlm", 0, name) != 0) path_ = name;
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
  }
  const std::wstring& path() const { return path_; }

  HRESULT Write(const std::string& bytes) const {
    if (path_.empty()) return E_ACCESSDENIED;
    common::UniqueFileHandle file(
        ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!file) return common::LastErrorHr();
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      return common::LastErrorHr();
    }
    return written == bytes.size() ? S_OK : E_FAIL;
  }

 private:
  std::wstring path_;
};

// An activation context made active for the scope's life.
class Activation {
 public:
  explicit Activation(HANDLE context) {
    if (::ActivateActCtx(context, &cookie_)) {
      active_ = true;
    } else {
      error_ = common::LastErrorHr();
    }
  }
  Activation(const Activation&) = delete;
  Activation& operator=(const Activation&) = delete;
  ~Activation() {
    if (active_) ::DeactivateActCtx(0, cookie_);
  }
  HRESULT status() const { return active_ ? S_OK : error_; }

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
  HRESULT error_ = E_FAIL;
};

std::wstring TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return {};
  return folder;
}

// An activation context from `manifest`, written for the moment to a file
// in `manifestFolder`, for the assembly in `assemblyFolder`.
HRESULT MakeContext(const std::string& manifest, const std::wstring& manifestFolder,
                    const std::wstring& assemblyFolder, common::UniqueActCtx* context) {
  TemporaryFile file(manifestFolder);
  RETURN_IF_FAILED(file.Write(manifest));
  ACTCTXW description{};
  description.cbSize = sizeof(description);
  description.dwFlags = ACTCTX_FLAG_ASSEMBLY_DIRECTORY_VALID;
  description.lpSource = file.path().c_str();
  description.lpAssemblyDirectory = assemblyFolder.c_str();
  context->reset(::CreateActCtxW(&description));
  return *context ? S_OK : common::LastErrorHr();
}

}  // namespace

HRESULT FindCreatableClass(const std::wstring& path, std::wstring_view className, EmbeddedClass* found) {
  if (!found) return E_POINTER;
  common::ComPtr<ITypeLib> library;
  HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
  if (FAILED(hr)) return hr;

  const common::LibAttr libraryAttr(library.get());
  if (!libraryAttr) RETURN_HR(TYPE_E_LIBNOTREGISTERED);
  found->library = libraryAttr->guid;
  found->majorVersion = libraryAttr->wMajorVerNum;
  found->minorVersion = libraryAttr->wMinorVerNum;

  bool any = false;
  const UINT count = library->GetTypeInfoCount();
  for (UINT i = 0; i < count; ++i) {
    TYPEKIND kind{};
    if (FAILED(library->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS) continue;
    common::ComPtr<ITypeInfo> info;
    if (FAILED(library->GetTypeInfo(i, info.put()))) continue;
    common::TypeAttr attr(info.get());
    if (!attr.get() || !(attr.get()->wTypeFlags & TYPEFLAG_FCANCREATE)) continue;
    common::UniqueBstr name;
    const bool named = SUCCEEDED(library->GetDocumentation(static_cast<INT>(i), name.put(), nullptr, nullptr, nullptr)) &&
                       ::CompareStringOrdinal(name.str().c_str(), -1, std::wstring(className).c_str(), -1, TRUE) ==
                           CSTR_EQUAL;
    if (named || !any) found->clsid = attr.get()->guid;
    any = true;
    if (named) return S_OK;
  }
  return any ? S_OK : REGDB_E_CLASSNOTREG;
}

std::string ClassManifest(std::wstring_view progId, std::wstring_view fileName, const EmbeddedClass& found) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
      "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
      "  <assemblyIdentity type=\"win32\" name=\"" + XmlAttribute(progId) + ".RegistrationFree\" version=\"1.0.0.0\"/>\r\n"
      "  <file name=\"" + XmlAttribute(fileName) + "\">\r\n"
      "    <comClass clsid=\"" + common::Utf8(common::GuidText(found.clsid)) + "\" progid=\"" + XmlAttribute(progId) +
      "\" threadingModel=\"Apartment\"/>\r\n";
  if (found.library != GUID_NULL) {
    text += "    <typelib tlbid=\"" + common::Utf8(common::GuidText(found.library)) + "\" version=\"" +
            std::to_string(found.majorVersion) + "." + std::to_string(found.minorVersion) + "\" helpdir=\"\"/>\r\n";
  }
  text +=
      "  </file>\r\n"
      "</assembly>\r\n";
  return text;
}

HRESULT CreateWithoutRegistration(std::wstring_view progId, const std::wstring& folder,
                                  std::wstring_view fileName, common::ComPtr<IUnknown>* object) {
  if (!object) return E_POINTER;
  object->reset();
  if (folder.empty()) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  const std::wstring path = folder + L"\\" + std::wstring(fileName);
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return common::LastErrorHr();

  EmbeddedClass found;
  RETURN_IF_FAILED(FindCreatableClass(path, ClassPart(progId), &found));

  // Wine looks for the DLL beside the manifest file and ignores
  // lpAssemblyDirectory; Windows honours it. A manifest written beside the
  // program works with both; the temporary folder serves where the
  // program's folder cannot be written to.
  const std::string manifest = ClassManifest(progId, fileName, found);
  common::UniqueActCtx context;
  HRESULT hr = MakeContext(manifest, folder, folder, &context);
  if (FAILED(hr)) {
    const HRESULT beside = hr;
    hr = MakeContext(manifest, TemporaryFolder(), folder, &context);
    if (FAILED(hr)) return beside;
  }

  Activation active(context.get());
  RETURN_IF_FAILED(active.status());
  // Inside the context CLSIDFromProgID answers an alias of the class id
  // (different on every run), so the class id read above is used directly.
  return ::CoCreateInstance(found.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object->put_void());
}

}  // namespace component
