#pragma once
// The client site the form gives its control: the control's way back to its
// container. Minimal, as befits a control that is invisible at run time: it
// names the form's window (IOleWindow) and answers the ambient properties a
// control asks about at run time (IDispatch), above all UserMode = true.

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include "common/com_object.h"

namespace component {

class HostSite : public common::ComObject<IOleClientSite, IOleControlSite, IOleWindow, IDispatch> {
 public:
  explicit HostSite(HWND window) : window_(window) {}

  // Forgets the window, when the control is let go.
  void Detach() { window_ = nullptr; }

  // IOleClientSite
  STDMETHODIMP SaveObject() override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override;
  STDMETHODIMP OnShowWindow(BOOL show) override;
  STDMETHODIMP RequestNewObjectLayout() override;

  // IOleControlSite
  STDMETHODIMP OnControlInfoChanged() override;
  STDMETHODIMP LockInPlaceActive(BOOL lock) override;
  STDMETHODIMP GetExtendedControl(IDispatch** control) override;
  STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
  STDMETHODIMP TranslateAccelerator(MSG* message, DWORD modifiers) override;
  STDMETHODIMP OnFocus(BOOL gotFocus) override;
  STDMETHODIMP ShowPropertyFrame() override;

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;

  // IDispatch: the ambient properties.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

 protected:
  ~HostSite() override = default;

 private:
  HWND window_;
};

}  // namespace component
