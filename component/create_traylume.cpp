#include "common/hresult.h"
#include "common/module.h"
#include "component/registration_free.h"
#include "component/texts.h"
#include "component/create_traylume.h"

namespace component {

common::ComResult CreateTraylume(const wchar_t* progId, const wchar_t* fileName, common::ComPtr<IUnknown>* control) {
  const std::wstring name = progId ? progId : L"";
  const std::wstring file = fileName ? fileName : L"";
  if (!control) return common::ComResult::Failure(E_POINTER, name, texts::CannotCreate(name, file));
  control->reset();

  // The registered class first, as any COM client would.
  CLSID clsid = CLSID_NULL;
  HRESULT registered = ::CLSIDFromProgID(name.c_str(), &clsid);
  if (SUCCEEDED(registered)) {
    registered = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control->put_void());
    if (SUCCEEDED(registered)) return common::ComResult::Success();
    control->reset();
  }

  // Then the file next to the program, without registration.
  const std::wstring folder = common::FolderOf(common::ModulePath(nullptr));
  const HRESULT local = CreateWithoutRegistration(name, folder, file, control);
  if (SUCCEEDED(local)) return common::ComResult::Success();
  control->reset();

  // Both ways, each with why it failed; the code is that of the file, the
  // way that remains when nothing is registered.
  std::wstring text = texts::CannotCreate(name, file);
  text += L"\r\n" + texts::RouteFailed(texts::kRegisteredRoute, registered, common::SystemMessage(registered));
  text += L"\r\n" + texts::RouteFailed(texts::FileRoute(folder, file), local, common::SystemMessage(local));
  return common::ComResult::Failure(local, name, std::move(text));
}

}  // namespace component
