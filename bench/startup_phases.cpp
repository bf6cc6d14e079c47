// startup_phases: the program's start-up, step by step in the order the
// program takes them, each step timed. Prints one "phase milliseconds" line
// per step. Steps that Form1::Create takes again inside (the font, the saved
// icon, hosting a control) are timed first on their own, the hosting on a
// second control that is let go again, so Form1::Create's figure is what is
// left once they are warm.
#include <windows.h>
#include <ole2.h>
#include <commctrl.h>

#include <cstdio>
#include <utility>

#include "app/component_names.h"
#include "app/file_drop_target.h"
#include "app/form1.h"
#include "app/saved_icon.h"
#include "app/ui_font.h"
#include "bench/stopwatch.h"
#include "component/registration_free.h"
#include "component/traylume_host.h"

namespace {

// Events go nowhere: only the hosting is timed.
class NoEvents final : public traylume::TraylumeEvents {
 public:
  void MouseDown(short) override {}
  void MouseMove() override {}
  void MouseUp(short) override {}
  void DblClick(short) override {}
  void BalloonShow() override {}
  void BalloonClose() override {}
  void BalloonClick() override {}
};

void Print(const char* phase, double milliseconds) { std::printf("%-28s %8.1f\n", phase, milliseconds); }

// Handles what is queued, as the message loop does before it first waits.
void PumpUntilIdle() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
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
  const bool registered = SUCCEEDED(::CLSIDFromProgID(app::kTraylumeProgId, &clsid));
  Print(registered ? "CLSIDFromProgID (found)" : "CLSIDFromProgID (none)", lap.Lap());

  traylume::EmbeddedClass found;
  traylume::FindCreatableClass(traylume::ProgramFolder() + L"\\" + app::kTraylumeFile, L"Traylume", &found);
  Print("type library of the file", lap.Lap());

  const common::UniqueModule library(::LoadLibraryW((traylume::ProgramFolder() + L"\\" + app::kTraylumeFile).c_str()));
  Print("LoadLibrary of the file", lap.Lap());
  {
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(::GetProcAddress(library.get(), "DllGetClassObject")));
    common::ComPtr<IClassFactory> factory;
    get(found.clsid, IID_IClassFactory, factory.put_void());
    Print("DllGetClassObject", lap.Lap());
    common::ComPtr<IUnknown> direct;
    factory->CreateInstance(nullptr, IID_IUnknown, direct.put_void());
    Print("CreateInstance direct", lap.Lap());
    common::ComPtr<IUnknown> direct2;
    factory->CreateInstance(nullptr, IID_IUnknown, direct2.put_void());
    Print("CreateInstance direct again", lap.Lap());
  }
  Print("release", lap.Lap());

  common::ComPtr<IUnknown> control;
  if (!traylume::CreateTraylume(app::kTraylumeProgId, app::kTraylumeFile, &control)) return 1;
  Print("CreateTraylume", lap.Lap());

  common::ComPtr<IUnknown> second;
  if (!traylume::CreateTraylume(app::kTraylumeProgId, app::kTraylumeFile, &second)) return 1;
  Print("CreateTraylume again", lap.Lap());

  common::UniqueFont font = app::CreateUiFont(96);
  Print("CreateUiFont", lap.Lap());
  {
    LOGFONTW chosen{};
    ::GetObjectW(font.get(), sizeof(chosen), &chosen);
    std::printf("  (face %ls)\n", chosen.lfFaceName);
  }

  {
    HWND target = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    auto drop = common::make<app::FileDropTarget>([](IDataObject*) {});
    ::RegisterDragDrop(target, drop.get());
    Print("RegisterDragDrop", lap.Lap());
    ::RevokeDragDrop(target);
    drop->Detach();
    ::DestroyWindow(target);
    Print("RevokeDragDrop", lap.Lap());
  }

  common::ComPtr<IPictureDisp> icon;
  app::LoadSavedIcon(&icon);
  Print("LoadSavedIcon", lap.Lap());

  {
    NoEvents events;
    traylume::TraylumeHost host;
    traylume::SavedState state;
    state.icon = icon;
    host.Attach(std::move(second), state, nullptr, &events);
    Print("TraylumeHost::Attach", lap.Lap());
  }
  Print("TraylumeHost::Close", lap.Lap());

  {
    app::Form1 form;
    app::Form1::Options options;
    options.quitWhenClosed = true;
    if (FAILED(form.Create(std::move(control), std::move(options)))) return 1;
    Print("Form1::Create (warm font)", lap.Lap());
    form.Show(SW_SHOWNORMAL);
    Print("Show", lap.Lap());
    PumpUntilIdle();
    Print("first messages", lap.Lap());
    Print("total", total.Milliseconds());
  }
  ::OleUninitialize();
  return 0;
}
