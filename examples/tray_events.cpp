// tray_events: shows a notification icon with the Traylume control and
// prints every event of the icon, one line each, until the icon is
// double-clicked with the left button (or Ctrl+C is pressed).
//
// The control is not registered: Traylume.ocx lies beside this program, is
// loaded as a DLL and asked for its class factory, as COM would do for a
// registered control. Nothing but the Windows SDK is used.
//
//   usage: tray_events ICONFILE      (an .ico or .bmp file)
//   build: g++ tray_events.cpp -municode -static -o tray_events.exe -lole32 -loleaut32 -luuid
//          cl /EHsc tray_events.cpp ole32.lib oleaut32.lib uuid.lib user32.lib

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdio>
#include <string>

namespace {

// From the control's type library: its class and the dispatch ids used here.
const CLSID kTraylumeClass = {0x97921333, 0x432d, 0x4baa, {0xb1, 0x89, 0x70, 0x55, 0xd0, 0xc0, 0x93, 0xe6}};
const IID kTraylumeEvents = {0x0f101854, 0x5096, 0x4dd7, {0x80, 0xb7, 0x0f, 0x2e, 0xe9, 0xb7, 0x92, 0x21}};
const DISPID kBalloonText = 0x68030003, kBalloon = 0x68030006, kBalloonTitle = 0x68030007;
const DISPID kToolTipText = 0x68030008, kIcon = 0x6803000A, kShowIcon = 0x60030013, kHideIcon = 0x60030014;
const DISPID kMouseDown = 1, kMouseMove = 2, kMouseUp = 3, kDblClick = 4;
const DISPID kBalloonShow = 5, kBalloonClose = 6, kBalloonClick = 7;
// The type library's name for the left button (TraylumeMouseButton).
const short tlLeftButton = 1;

DWORD mainThread = 0;

void Say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);  // one line at a time, also into a pipe
}

// The event sink: an IDispatch whose Invoke the control calls per event.
class EventSink final : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kTraylumeEvents) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

  STDMETHODIMP Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    // MouseDown, MouseUp and DblClick pass the button by reference (VT_BYREF | VT_I2).
    short button = 0;
    if (params && params->cArgs == 1 && V_VT(&params->rgvarg[0]) == (VT_BYREF | VT_I2)) {
      button = *V_I2REF(&params->rgvarg[0]);
    }
    char line[64];
    switch (event) {
      case kMouseDown: std::snprintf(line, sizeof(line), "MouseDown Button=%d", button); break;
      case kMouseMove: std::snprintf(line, sizeof(line), "MouseMove"); break;
      case kMouseUp: std::snprintf(line, sizeof(line), "MouseUp Button=%d", button); break;
      case kDblClick: std::snprintf(line, sizeof(line), "DblClick Button=%d", button); break;
      case kBalloonShow: std::snprintf(line, sizeof(line), "BalloonShow"); break;
      case kBalloonClose: std::snprintf(line, sizeof(line), "BalloonClose"); break;
      case kBalloonClick: std::snprintf(line, sizeof(line), "BalloonClick"); break;
      default: return DISP_E_MEMBERNOTFOUND;
    }
    Say(line);
    if (event == kDblClick && button == tlLeftButton) ::PostQuitMessage(0);
    return S_OK;
  }

 private:
  ULONG references_ = 1;
};

// Ctrl+C and closing the console end the message loop, so the icon goes too.
BOOL WINAPI OnConsoleClose(DWORD) {
  ::PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
  return TRUE;
}

// A property put by dispatch id: DISPATCH_PROPERTYPUT, or PUTREF for an object.
HRESULT Put(IDispatch* control, DISPID id, VARIANT value, WORD kind = DISPATCH_PROPERTYPUT) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &named, 1, 1};
  return control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, nullptr, nullptr, nullptr);
}

HRESULT PutText(IDispatch* control, DISPID id, const wchar_t* text) {
  VARIANT value;
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = ::SysAllocString(text);
  const HRESULT hr = Put(control, id, value);
  ::VariantClear(&value);
  return hr;
}

HRESULT Call(IDispatch* control, DISPID id) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
}

// A new control from Traylume.ocx in this program's folder.
HRESULT CreateControl(IDispatch** control) {
  wchar_t program[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return E_FAIL;
  std::wstring path(program, length);
  path.replace(path.rfind(L'\\') + 1, std::wstring::npos, L"Traylume.ocx");
  // Loaded for the rest of the process: the control's code lives in it.
  const HMODULE server = ::LoadLibraryW(path.c_str());
  if (!server) return HRESULT_FROM_WIN32(::GetLastError());
  typedef HRESULT(STDAPICALLTYPE * GetClassObject)(REFCLSID, REFIID, void**);
  const GetClassObject getClassObject =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void (*)()>(::GetProcAddress(server, "DllGetClassObject")));
  if (!getClassObject) return HRESULT_FROM_WIN32(::GetLastError());
  IClassFactory* factory = nullptr;
  HRESULT hr = getClassObject(kTraylumeClass, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(control));
  factory->Release();
  return hr;
}

// Sets the control's Icon to the picture in `file`.
HRESULT SetIcon(IDispatch* control, const wchar_t* file) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetFullPathNameW(file, MAX_PATH, path, nullptr);  // the loader needs a full path
  if (length == 0 || length >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME);
  BSTR name = ::SysAllocString(path);
  IPictureDisp* picture = nullptr;
  HRESULT hr = ::OleLoadPicturePath(name, nullptr, 0, 0, IID_IPictureDisp, reinterpret_cast<void**>(&picture));
  ::SysFreeString(name);
  if (FAILED(hr)) return hr;
  VARIANT value;
  V_VT(&value) = VT_DISPATCH;
  V_DISPATCH(&value) = picture;
  hr = Put(control, kIcon, value, DISPATCH_PROPERTYPUTREF);
  picture->Release();  // the control holds its own reference
  return hr;
}

int Fail(const char* step, HRESULT hr) {
  std::fprintf(stderr, "%s failed: 0x%08lX\n", step, static_cast<unsigned long>(hr));
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tray_events ICONFILE\n");
    return 2;
  }
  // The control is apartment-threaded: OLE on this thread, and this thread
  // pumps the messages that bring the control's events.
  if (FAILED(::OleInitialize(nullptr))) return 1;
  mainThread = ::GetCurrentThreadId();
  int exitCode = 0;

  IDispatch* control = nullptr;
  HRESULT hr = CreateControl(&control);
  if (FAILED(hr)) {
    exitCode = Fail("Creating the control", hr);
  } else if (FAILED(hr = SetIcon(control, argv[1]))) {
    exitCode = Fail("Setting the icon", hr);
  } else {
    // A tooltip and a balloon; they reach the shell with ShowIcon.
    PutText(control, kToolTipText, L"Double-click to quit");
    PutText(control, kBalloonTitle, L"tray_events");
    PutText(control, kBalloonText, L"Each event of this icon is printed in the console.");
    VARIANT on;
    V_VT(&on) = VT_BOOL;
    V_BOOL(&on) = VARIANT_TRUE;
    Put(control, kBalloon, on);

    // The event connection: the control's connection point for its events.
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    EventSink* sink = new EventSink;
    DWORD cookie = 0;
    hr = control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(kTraylumeEvents, &point);
    if (SUCCEEDED(hr)) hr = point->Advise(sink, &cookie);
    if (SUCCEEDED(hr)) hr = Call(control, kShowIcon);

    if (FAILED(hr)) {
      exitCode = Fail("Showing the icon", hr);
    } else {
      Say("Icon shown. Double-click it with the left button to quit.");
      ::SetConsoleCtrlHandler(OnConsoleClose, TRUE);
      MSG message;
      while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
      Say("Bye.");
    }

    // The end, in order: no more events, no icon, no control.
    if (cookie) point->Unadvise(cookie);
    if (point) point->Release();
    if (container) container->Release();
    sink->Release();
    Call(control, kHideIcon);
  }
  if (control) control->Release();
  ::OleUninitialize();
  return exitCode;
}
