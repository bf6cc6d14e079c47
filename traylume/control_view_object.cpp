// IViewObject2: how a form designer draws the control. It looks like its
// icon, drawn into the rectangle the container gives, in the container's
// own device context and mapping; the container's view sink hears when the
// icon changes.

#include "common/hresult.h"
#include "traylume/traylume_control.h"

namespace traylume {
namespace {

bool IsDrawnAspect(DWORD aspect) { return aspect == DVASPECT_CONTENT || aspect == DVASPECT_ICON; }

}  // namespace

STDMETHODIMP TraylumeControl::Draw(DWORD aspect, LONG index, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                   LPCRECTL windowBounds, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!IsDrawnAspect(aspect)) return DV_E_DVASPECT;
  if (index != -1) return DV_E_LINDEX;
  if (!dc || !bounds) return E_INVALIDARG;
  common::ComPtr<IPicture> picture;
  RETURN_IF_FAILED(ShownPicture().As(&picture));
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  RETURN_IF_FAILED(picture->get_Width(&width));
  RETURN_IF_FAILED(picture->get_Height(&height));
  // Render takes the source rectangle from the bottom up; a metafile
  // device context comes with its window bounds.
  RECT metafileBounds{};
  if (windowBounds) {
    metafileBounds = {windowBounds->left, windowBounds->top, windowBounds->right, windowBounds->bottom};
  }
  return picture->Render(dc, bounds->left, bounds->top, bounds->right - bounds->left, bounds->bottom - bounds->top, 0,
                         height, width, -height, windowBounds ? &metafileBounds : nullptr);
}

STDMETHODIMP TraylumeControl::GetColorSet(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!colors) return E_POINTER;
  *colors = nullptr;
  return IsDrawnAspect(aspect) ? S_FALSE : DV_E_DVASPECT;  // no palette of its own
}

STDMETHODIMP TraylumeControl::Freeze(DWORD, LONG, void*, DWORD* freeze) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (freeze) *freeze = 0;
  return E_NOTIMPL;
}

STDMETHODIMP TraylumeControl::Unfreeze(DWORD) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return E_NOTIMPL;
}

STDMETHODIMP TraylumeControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  viewSink_ = common::ComPtr<IAdviseSink>(sink);
  viewAspects_ = sink ? aspects : 0;
  viewFlags_ = sink ? flags : 0;
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) viewSink_.CopyTo(sink);
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE*, LPSIZEL size) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!size) return E_POINTER;
  if (!IsDrawnAspect(aspect)) return DV_E_DVASPECT;
  if (index != -1) return DV_E_LINDEX;
  *size = extent_;
  return S_OK;
}

void TraylumeControl::ViewChanged() {
  if (!viewSink_) return;
  // The sink may set another one while it hears this: it keeps its own.
  const common::ComPtr<IAdviseSink> sink = viewSink_;
  const DWORD aspect = viewAspects_ == DVASPECT_ICON ? DVASPECT_ICON : DVASPECT_CONTENT;
  if (viewFlags_ & ADVF_ONLYONCE) {
    viewSink_.reset();
    viewAspects_ = 0;
    viewFlags_ = 0;
  }
  sink->OnViewChange(aspect, -1);
}

}  // namespace traylume
