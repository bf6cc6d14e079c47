// install_probe PROGID
//
// A COM client as any program is one: creates the class that PROGID names
// through the registry and prints the full path of the module whose code
// serves the object. Exits with 0 only when the object was created.
#include <windows.h>
#include <objbase.h>

#include <cwchar>

#include "common/com_ptr.h"

namespace {

class ApartmentScope {
 public:
  ApartmentScope() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ApartmentScope(const ApartmentScope&) = delete;
  ApartmentScope& operator=(const ApartmentScope&) = delete;
  ~ApartmentScope() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  HRESULT result() const { return hr_; }

 private:
  HRESULT hr_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fwprintf(stderr, L"usage: install_probe PROGID\n");
    return 2;
  }
  ApartmentScope apartment;
  CLSID clsid{};
  HRESULT hr = apartment.result();
  if (SUCCEEDED(hr)) hr = ::CLSIDFromProgID(argv[1], &clsid);
  common::ComPtr<IUnknown> object;
  if (SUCCEEDED(hr)) hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void());
  if (FAILED(hr)) {
    std::fwprintf(stderr, L"install_probe: %ls cannot be created, 0x%08lx\n", argv[1],
                  static_cast<unsigned long>(hr));
    return 1;
  }
  // The object's first word points at its table of methods, in the module
  // that implements it.
  HMODULE module = nullptr;
  wchar_t path[MAX_PATH] = {};
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            *reinterpret_cast<LPCWSTR*>(object.get()), &module) ||
      !::GetModuleFileNameW(module, path, MAX_PATH)) {
    std::fwprintf(stderr, L"install_probe: no module for the object, error %lu\n", ::GetLastError());
    return 1;
  }
  std::wprintf(L"%ls\n", path);
  return 0;
}
