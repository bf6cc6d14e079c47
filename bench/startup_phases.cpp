// startup_phases: the program's start-up, step by step in the order the
// program takes them, each step timed; prints one "step milliseconds" line
// per step. Steps that Form1::Create takes again inside (the font, the drop
// target, the saved icon, hosting the control) are first timed on their
// own, on scratch objects that are let go again, so Form1::Create's figure
// is what is left once they are warm. The control is created three times:
// straight through its class factory (the DLL's first use), then as the
// program does it, then once more for the scratch hosting.
#include <windows.h>
#include <ole2.h>
#include <commctrl.h>

#include <cstdio>
#include <utility>

#include "contract/traylume_contract.h"
#include "app/file_drop_target.h"
#include "app/form1.h"
#include "app/saved_icon.h"
#include "app/ui_font.h"
#include "bench/stopwatch.h"
#include "common/unique_handle.h"
#include "component/registration_free.h"
#include "component/create_traylume.h"
#include "component/traylume_host.h"

namespace {

// Events go nowhere: only the hosting is timed.
class NoEvents final : public component::TraylumeEvents {
 public:
  void MouseDown(short) override {}
  void MouseMove() override {}
  void MouseUp(short) override {}
  void DblClick(short) override {}
  void BalloonShow() override {}
  void BalloonClose() override {}
  void BalloonClick() override {}
};

void Print(const char* step, double milliseconds) { std::printf("%-36s %8.1f\n", step, milliseconds); }

// Handles what is queued, as the message loop does before it first waits.
void PumpUntilIdle() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// The control made straight from the DLL's class factory.
HRESULT CreateThroughFactory(HMODULE library, const CLSID& clsid, common::ComPtr<IUnknown>* control) {
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  const auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(::GetProcAddress(library, "DllGetClassObject")));
  if (!get) return E_NOINTERFACE;
  common::ComPtr<IClassFactory> factory;
  RETURN_IF_FAILED(get(clsid, IID_IClassFactory, factory.put_void()));
  return factory->CreateInstance(nullptr, IID_IUnknown, control->put_void());
}

}  // namespace

int wmain() {
  bench::Stopwatch total;
  bench::Stopwatch lap;
  if (FAILED(::OleInitialize(nullptr))) return 1;
  Print("OleInitialize", lap.Lap());

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  Print("InitCommonControlsEx", lap.Lap());

  CLSID clsid{};
  const bool registered = SUCCEEDED(::CLSIDFromProgID(contract::kProgId, &clsid));
  Print(registered ? "CLSIDFromProgID (registered)" : "CLSIDFromProgID (not registered)", lap.Lap());

  const std::wstring path = common::FolderOf(common::ModulePath(nullptr)) + L"\\" + contract::kFileName;
  CLSID found = CLSID_NULL;
  if (FAILED(component::FindCreatableClass(path, L"Traylume", &found))) return 1;
  Print("type library of the file", lap.Lap());

  const common::UniqueModule library(::LoadLibraryW(path.c_str()));
  Print("LoadLibrary of the file", lap.Lap());
  {
    common::ComPtr<IUnknown> first;
    if (FAILED(CreateThroughFactory(library.get(), found, &first))) return 1;
    Print("first control, class factory", lap.Lap());
  }
  Print("  its release", lap.Lap());

  common::ComPtr<IUnknown> control;
  if (!component::CreateTraylume(contract::kProgId, contract::kFileName, &control)) return 1;
  Print(registered ? "CreateTraylume (registered)" : "CreateTraylume (from the file)", lap.Lap());
  common::ComPtr<IUnknown> scratch;
  if (!component::CreateTraylume(contract::kProgId, contract::kFileName, &scratch)) return 1;
  Print("  CreateTraylume again", lap.Lap());

  const common::UniqueFont font = app::CreateUiFont(96);
  Print("CreateUiFont", lap.Lap());

  {
    const common::UniqueWindow target(
        ::CreateWindowExW(0, WC_STATICW, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    const auto drop = common::make<app::FileDropTarget>([](common::ComResult, std::wstring) {});
    if (!target || !drop) return 1;
    ::RegisterDragDrop(target.get(), drop.get());
    Print("RegisterDragDrop", lap.Lap());
    ::RevokeDragDrop(target.get());
    drop->Detach();
  }
  Print("  its revoke", lap.Lap());

  common::ComPtr<IPictureDisp> icon;
  app::LoadSavedIcon(&icon);
  Print("LoadSavedIcon", lap.Lap());

  {
    NoEvents events;
    component::TraylumeHost host;
    component::SavedState state;
    state.icon = icon;
    host.Attach(std::move(scratch), state, nullptr, &events);
    Print("TraylumeHost::Attach", lap.Lap());
  }
  Print("  its close", lap.Lap());

  {
    app::Form1 form;
    app::Form1::Options options;
    options.quitWhenClosed = true;
    if (FAILED(form.Create(std::move(control), std::move(options)))) return 1;
    Print("Form1::Create (the above warm)", lap.Lap());
    form.Show(SW_SHOWNORMAL);
    Print("Show", lap.Lap());
    PumpUntilIdle();
    Print("first messages", lap.Lap());
    Print("total", total.Milliseconds());
  }
  ::OleUninitialize();
  return 0;
}
