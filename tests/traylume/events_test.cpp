// Tray callbacks become the control's events, raised to every advised sink
// with Button as a 16-bit integer by reference.
#include <gtest/gtest.h>

#include <functional>

#include "common/com_object.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/traylume/control_test.h"
#include "traylume/tray_window.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

namespace dispid = contract::dispid;
// A sink that writes down each event: its id and its arguments described.
struct Sink final : common::ComObject<IDispatch> {
  std::vector<std::wstring> heard;
  std::function<void()> onEvent;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    std::wstring event = std::to_wstring(id);
    for (UINT i = 0; i < params->cArgs; ++i) event += L" " + support::Describe(params->rgvarg[i]);
    heard.push_back(event);
    if (onEvent) onEvent();
    return S_OK;
  }
};

// A control with one sink advised.
class EventsTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    sink = common::make<Sink>();
    point = support::EventPointOf(control);
    ASSERT_TRUE(point);
    ASSERT_EQ(point->Advise(sink.get(), &cookie), S_OK);
  }
  void TearDown() override {
    point.reset();
    sink.reset();
    ControlTest::TearDown();
  }
  common::ComPtr<Sink> sink;
  common::ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
};

// Which callback raises which event the event log shows through this control;
// here what it cannot: Button's type, BalloonHide, and what raises nothing.
TEST_F(EventsTest, EachCallbackRaisesItsEventWithItsButton) {
  const std::pair<UINT, std::wstring> cases[] = {
      {WM_RBUTTONDBLCLK, std::to_wstring(dispid::kDblClick) + L" VT_I2|VT_BYREF 2"},
      {NIN_BALLOONHIDE, std::to_wstring(dispid::kBalloonClose)},
      {NIN_BALLOONTIMEOUT, std::to_wstring(dispid::kBalloonClose)},
  };
  for (const auto& [message, event] : cases) {
    sink->heard.clear();
    Callback(message);
    EXPECT_EQ(sink->heard, std::vector<std::wstring>{event}) << message;
  }
  sink->heard.clear();
  Callback(WM_MOUSEWHEEL);
  ::SendMessageW(TrayWindow(), traylume::kCallbackMessage, traylume::kIconId + 1, WM_LBUTTONDOWN);
  EXPECT_TRUE(sink->heard.empty()) << "an unknown message, or another icon's";
}

TEST_F(EventsTest, AnUnadvisedSinkHearsNothingAndCannotBeUnadvisedAgain) {
  ASSERT_EQ(point->Unadvise(cookie), S_OK);
  Callback(WM_LBUTTONDOWN);
  EXPECT_TRUE(sink->heard.empty());
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
}

// A container freezes events while it cannot take them (IOleControl):
// they are dropped, not delivered later.
TEST_F(EventsTest, EventsRaisedWhileFrozenAreDropped) {
  common::ComPtr<IOleControl> oleControl;
  ASSERT_EQ(control.As(&oleControl), S_OK);
  ASSERT_EQ(oleControl->FreezeEvents(TRUE), S_OK);
  Callback(WM_LBUTTONDOWN);
  EXPECT_TRUE(sink->heard.empty());
  ASSERT_EQ(oleControl->FreezeEvents(FALSE), S_OK);
  Callback(WM_MOUSEMOVE);
  EXPECT_EQ(sink->heard, std::vector<std::wstring>{std::to_wstring(dispid::kMouseMove)});
}

TEST_F(EventsTest, TheConnectionPointSaysItIsForTheEventInterface) {
  IID iid{};
  ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, DIID_ITraylumeEvents);
}

TEST_F(EventsTest, SinksMayLeaveWhileTheyHearAnEvent) {
  auto first = common::make<Sink>();
  auto second = common::make<Sink>();
  auto third = common::make<Sink>();
  DWORD firstCookie = 0;
  DWORD thirdCookie = 0;
  DWORD secondCookie = 0;
  ASSERT_EQ(point->Advise(first.get(), &firstCookie), S_OK);
  ASSERT_EQ(point->Advise(second.get(), &secondCookie), S_OK);
  ASSERT_EQ(point->Advise(third.get(), &thirdCookie), S_OK);
  // The first sink lets go of itself and of one that has yet to hear the event.
  first->onEvent = [&] {
    point->Unadvise(thirdCookie);
    point->Unadvise(firstCookie);
  };
  Callback(WM_MOUSEMOVE);
  Callback(WM_MOUSEMOVE);
  EXPECT_EQ(first->heard.size(), 1u);
  EXPECT_EQ(second->heard.size(), 2u);
  EXPECT_TRUE(third->heard.empty()) << "a sink let go during an event still heard it";
  ASSERT_EQ(point->Unadvise(secondCookie), S_OK);
}

TEST_F(EventsTest, TheLastReferenceMayGoInsideAnEventAndTheControlEndsAfterIt) {
  const HWND window = TrayWindow();
  sink->onEvent = [&] {
    point.reset();
    control.reset();
  };
  Callback(WM_LBUTTONUP);
  EXPECT_EQ(sink->heard.size(), 1u);
  EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace traylume_tests
