// Tray callbacks become the control's events, raised to every advised sink
// with Button as a 16-bit integer by reference.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "common/com_object.h"
#include "contract/traylume_contract.h"
#include "tests/traylume/control_test.h"
#include "traylume/tray_window.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

namespace dispid = contract::dispid;
using EventsTest = ControlTest;

struct Heard {
  DISPID id;
  VARTYPE type;  // of the one argument; VT_EMPTY without one
  short button;
  bool operator==(const Heard& o) const { return id == o.id && type == o.type && button == o.button; }
};

class Sink final : public common::ComObject<IDispatch> {
 public:
  std::vector<Heard> heard;
  std::function<void()> onEvent;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    Heard event{id, VT_EMPTY, 0};
    if (params->cArgs == 1) {
      event.type = V_VT(&params->rgvarg[0]);
      if (event.type == (VT_I2 | VT_BYREF)) event.button = *V_I2REF(&params->rgvarg[0]);
    } else if (params->cArgs > 1) {
      event.type = VT_ILLEGAL;
    }
    heard.push_back(event);
    if (onEvent) onEvent();
    return S_OK;
  }
};

common::ComPtr<IConnectionPoint> EventPoint(IDispatch* control) {
  common::ComPtr<IConnectionPointContainer> container;
  common::ComPtr<IConnectionPoint> point;
  if (SUCCEEDED(common::ComPtr<IDispatch>(control).As(&container))) {
    container->FindConnectionPoint(DIID_ITraylumeEvents, point.put());
  }
  return point;
}

TEST_F(EventsTest, EachCallbackRaisesItsEventWithItsButton) {
  constexpr VARTYPE kButton = VT_I2 | VT_BYREF;
  const struct {
    UINT message;
    Heard expected;
  } cases[] = {
      {WM_MOUSEMOVE, {dispid::kMouseMove, VT_EMPTY, 0}},
      {WM_LBUTTONDOWN, {dispid::kMouseDown, kButton, contract::kLeftButton}},
      {WM_RBUTTONDOWN, {dispid::kMouseDown, kButton, contract::kRightButton}},
      {WM_MBUTTONDOWN, {dispid::kMouseDown, kButton, contract::kMiddleButton}},
      {WM_LBUTTONUP, {dispid::kMouseUp, kButton, contract::kLeftButton}},
      {WM_RBUTTONUP, {dispid::kMouseUp, kButton, contract::kRightButton}},
      {WM_MBUTTONUP, {dispid::kMouseUp, kButton, contract::kMiddleButton}},
      {WM_LBUTTONDBLCLK, {dispid::kDblClick, kButton, contract::kLeftButton}},
      {WM_RBUTTONDBLCLK, {dispid::kDblClick, kButton, contract::kRightButton}},
      {WM_MBUTTONDBLCLK, {dispid::kDblClick, kButton, contract::kMiddleButton}},
      {NIN_BALLOONSHOW, {dispid::kBalloonShow, VT_EMPTY, 0}},
      {NIN_BALLOONHIDE, {dispid::kBalloonClose, VT_EMPTY, 0}},
      {NIN_BALLOONTIMEOUT, {dispid::kBalloonClose, VT_EMPTY, 0}},
      {NIN_BALLOONUSERCLICK, {dispid::kBalloonClick, VT_EMPTY, 0}},
  };
  auto sink = common::make<Sink>();
  auto point = EventPoint(control.get());
  ASSERT_TRUE(point);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sink.get(), &cookie), S_OK);
  for (const auto& c : cases) {
    sink->heard.clear();
    Callback(c.message);
    ASSERT_EQ(sink->heard.size(), 1u) << c.message;
    EXPECT_EQ(sink->heard[0], c.expected) << c.message;
  }
  sink->heard.clear();
  Callback(WM_MOUSEWHEEL);
  ::SendMessageW(TrayWindow(), traylume::kCallbackMessage, traylume::kIconId + 1, WM_LBUTTONDOWN);
  EXPECT_TRUE(sink->heard.empty()) << "an unknown message, or another icon's";
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  Callback(WM_LBUTTONDOWN);
  EXPECT_TRUE(sink->heard.empty()) << "an unadvised sink still hears events";
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
}

TEST_F(EventsTest, SinksMayLeaveAndLetGoOfTheControlWhileTheyHearAnEvent) {
  auto first = common::make<Sink>();
  auto second = common::make<Sink>();
  auto point = EventPoint(control.get());
  DWORD firstCookie = 0, secondCookie = 0;
  ASSERT_EQ(point->Advise(first.get(), &firstCookie), S_OK);
  ASSERT_EQ(point->Advise(second.get(), &secondCookie), S_OK);
  first->onEvent = [&] { point->Unadvise(firstCookie); };
  Callback(WM_MOUSEMOVE);
  Callback(WM_MOUSEMOVE);
  EXPECT_EQ(first->heard.size(), 1u);
  EXPECT_EQ(second->heard.size(), 2u);

  // The last reference goes inside the event: the control ends after it.
  const HWND window = TrayWindow();
  second->onEvent = [&] {
    point.reset();
    control.reset();
  };
  Callback(WM_LBUTTONUP);
  EXPECT_EQ(second->heard.size(), 3u);
  EXPECT_FALSE(::IsWindow(window));
}

TEST_F(EventsTest, TheEventInterfaceIsTheDefaultSourceAndTheOnlyConnectionPoint) {
  common::ComPtr<IProvideClassInfo2> info;
  common::ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(control.As(&info), S_OK);
  ASSERT_EQ(control.As(&container), S_OK);
  GUID events = GUID_NULL;
  EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  EXPECT_EQ(events, DIID_ITraylumeEvents);
  common::ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, point.put()), CONNECT_E_NOCONNECTION);
  common::ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
  IID iid = GUID_NULL;
  ASSERT_EQ(points->Next(1, point.put(), nullptr), S_OK);
  point->GetConnectionInterface(&iid);
  EXPECT_EQ(iid, DIID_ITraylumeEvents);
  EXPECT_EQ(points->Next(1, point.put(), nullptr), S_FALSE);
}

}  // namespace
}  // namespace traylume_tests
