// The program's entry: OLE on the one user-interface thread, the component,
// the main window and its message loop.
#include <windows.h>
#include <ole2.h>
#include <commctrl.h>

#include "contract/traylume_contract.h"
#include "app/form1.h"
#include "app/report.h"
#include "app/texts.h"
#include "component/create_traylume.h"

namespace {

class OleScope {
 public:
  OleScope() : hr_(::OleInitialize(nullptr)) {}
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
  ~OleScope() {
    if (SUCCEEDED(hr_)) ::OleUninitialize();
  }
  HRESULT result() const { return hr_; }

 private:
  HRESULT hr_;
};

int RunMessageLoop(app::Form1& form) {
  MSG message{};
  BOOL got = FALSE;
  while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
    if (form.PreTranslateMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return got < 0 ? 1 : static_cast<int>(message.wParam);
}

void ShowStartFailure(const common::ComResult& failure) {
  app::ShowFailure(app::MessageBoxFunction(), nullptr, failure);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  OleScope ole;
  if (FAILED(ole.result())) {
    ShowStartFailure(common::ComResult::Failure(
        ole.result(), app::texts::CreateComponent(contract::kProgId, contract::kFileName)));
    return 1;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  common::ComPtr<IUnknown> control;
  common::ComResult created = component::CreateTraylume(contract::kProgId, contract::kFileName, &control);
  if (!created) {
    // The binding's description names the ProgID, the file and why each way failed.
    created.operation = app::texts::CreateComponent(contract::kProgId, contract::kFileName);
    ShowStartFailure(created);
    return 1;
  }

  int exitCode = 0;
  {
    app::Form1 form;
    app::Form1::Options options;
    options.quitWhenClosed = true;
    const HRESULT opened = form.Create(std::move(control), std::move(options));
    if (FAILED(opened)) {
      ShowStartFailure(common::ComResult::Failure(opened, app::texts::kCreateWindow));
      return 1;
    }
    form.Show(showCommand);
    exitCode = RunMessageLoop(form);
  }  // the window is gone, and with it the component, before OLE ends
  return exitCode;
}
