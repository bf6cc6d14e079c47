#include "component/traylume_host.h"

#include <olectl.h>

#include <utility>

#include "common/com_object.h"
#include "component/event_interface.h"
#include "component/event_sink.h"
#include "component/failure.h"
#include "component/host_site.h"
#include "component/property_bag.h"

namespace component {

TraylumeHost::TraylumeHost() = default;

TraylumeHost::~TraylumeHost() { Close(); }

common::ComResult TraylumeHost::Attach(common::ComPtr<IUnknown> control, const SavedState& state, HWND window,
                               TraylumeEvents* events) {
  Close();
  if (!control) return detail::Failure(E_POINTER, L"IUnknown");
  unknown_ = std::move(control);
  detail::ForgetErrorInfo();

  common::ComPtr<IDispatch> dispatch;
  HRESULT hr = unknown_.As(&dispatch);
  if (FAILED(hr)) return detail::Failure(hr, L"IDispatch");
  control_ = Traylume(std::move(dispatch));

  // A form gives the site before the saved state to a control that asks for
  // it (OLEMISC_SETCLIENTSITEFIRST), after it to any other.
  site_ = common::make<HostSite>(window);
  if (!site_) return detail::Failure(E_OUTOFMEMORY, L"IOleClientSite");
  DWORD misc = 0;
  if (SUCCEEDED(unknown_.As(&oleObject_)) && FAILED(oleObject_->GetMiscStatus(DVASPECT_CONTENT, &misc))) misc = 0;
  const bool siteFirst = oleObject_ && (misc & OLEMISC_SETCLIENTSITEFIRST);
  auto giveSite = [this]() -> common::ComResult {
    const HRESULT given = oleObject_->SetClientSite(site_.get());
    if (FAILED(given)) return detail::Failure(given, L"IOleObject::SetClientSite");
    siteGiven_ = true;
    return common::ComResult::Success();
  };
  if (siteFirst) {
    if (common::ComResult result = giveSite(); !result) return result;
  }

  common::ComPtr<IPersistPropertyBag> persist;
  if (SUCCEEDED(unknown_.As(&persist))) {
    auto bag = common::make<PropertyBag>(state);
    if (!bag) return detail::Failure(E_OUTOFMEMORY, L"IPersistPropertyBag::Load");
    hr = persist->Load(bag.get(), nullptr);
    if (FAILED(hr)) return detail::Failure(hr, L"IPersistPropertyBag::Load");
  } else {
    common::ComPtr<IPersistStreamInit> fresh;
    if (SUCCEEDED(unknown_.As(&fresh))) {
      hr = fresh->InitNew();
      if (FAILED(hr)) return detail::Failure(hr, L"IPersistStreamInit::InitNew");
    }
  }

  if (oleObject_ && !siteFirst) {
    if (common::ComResult result = giveSite(); !result) return result;
  }

  if (!events) return common::ComResult::Success();
  IID eventInterface = GUID_NULL;
  hr = FindEventInterface(unknown_.get(), &eventInterface);
  if (FAILED(hr)) return detail::Failure(hr, L"IProvideClassInfo2::GetGUID");
  common::ComPtr<IConnectionPointContainer> container;
  hr = unknown_.As(&container);
  if (FAILED(hr)) return detail::Failure(hr, L"IConnectionPointContainer");
  common::ComPtr<IConnectionPoint> connection;
  hr = container->FindConnectionPoint(eventInterface, connection.put());
  if (FAILED(hr)) return detail::Failure(hr, L"IConnectionPointContainer::FindConnectionPoint");
  if (!connection) return detail::Failure(E_UNEXPECTED, L"IConnectionPointContainer::FindConnectionPoint");
  auto sink = common::make<EventSink>(events, eventInterface);
  if (!sink) return detail::Failure(E_OUTOFMEMORY, L"IConnectionPoint::Advise");
  DWORD cookie = 0;
  hr = connection->Advise(static_cast<IDispatch*>(sink.get()), &cookie);
  if (FAILED(hr)) return detail::Failure(hr, L"IConnectionPoint::Advise");
  sink_ = std::move(sink);
  connection_ = std::move(connection);
  cookie_ = cookie;
  return common::ComResult::Success();
}

// The order matters: no more events, then the control closes while it still
// has its site, then it lets go of the site, and the last reference goes so
// that its final release (and the removal of its tray icon) happens now.
void TraylumeHost::Close() {
  if (sink_) sink_->Disconnect();
  if (connection_) connection_->Unadvise(cookie_);
  connection_.reset();
  cookie_ = 0;
  sink_.reset();
  if (oleObject_) {
    oleObject_->Close(OLECLOSE_NOSAVE);
    if (siteGiven_) oleObject_->SetClientSite(nullptr);
  }
  siteGiven_ = false;
  if (site_) site_->Detach();
  site_.reset();
  oleObject_.reset();
  control_ = Traylume();
  unknown_.reset();
}

}  // namespace component
