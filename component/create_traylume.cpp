#include "component/traylume_host.h"

#include "common/hresult.h"
#include "common/module.h"
#include "component/registration_free.h"
#include "component/texts.h"

namespace component {

common::ComResult CreateTraylume(const wchar_t* progId, const wchar_t* fileName, common::ComPtr<IUnknown>* control) {
  const std::wstring name = progId ? progId : L"";
  const std::wstring file = fileName ? fileName : L"";
  if (!control) return common::ComResult::Failure(E_POINTER, name, texts::CannotCreate(name, file));
  control->reset();

  // The registered class first, as any COM client would.
  CLSID clsid = CLSID_NULL;
  const HRESULT registered = ::CLSIDFromProgID(name.c_str(), &clsid);
  HRESULT created = registered;
  if (SUCCEEDED(registered)) {
    created = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control->put_void());
    if (SUCCEEDED(created)) return common::ComResult::Success();
    control->reset();
  }

  // Then the file next to the program, without registration.
  const HRESULT local = CreateWithoutRegistration(name, common::FolderOf(common::ModulePath(nullptr)), file, control);
  if (SUCCEEDED(local)) return common::ComResult::Success();
  control->reset();

  // Say why in the terms of the way that was meant to work: the registered
  // class when the ProgID is registered, else the file.
  const HRESULT reason = SUCCEEDED(registered) ? created : local;
  std::wstring text = texts::CannotCreate(name, file);
  const std::wstring system = common::SystemMessage(reason);
  if (!system.empty()) text += L"\r\n" + system;
  return common::ComResult::Failure(reason, name, std::move(text));
}

}  // namespace component
