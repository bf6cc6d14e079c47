// Events: tray callbacks become the control's events, raised synchronously
// on the control's thread to every advised sink, with the Button code as a
// 16-bit integer by reference.

#include <gtest/gtest.h>

#include <ocidl.h>
#include <ole2.h>

#include <vector>

#include "contract/traylume_contract.h"
#include "tests/support/message_pump.h"
#include "tests/traylume/automation.h"
#include "tests/traylume/control_fixture.h"
#include "tests/traylume/memory_property_bag.h"
#include "tests/traylume/recording_sink.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

using testing_support::PumpPending;
using testing_support::PumpUntil;
namespace dispid = contract::dispid;

constexpr UINT kCallbackMessage = WM_APP + 1;
constexpr WPARAM kIconId = 1;

class EventsTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_EQ(Call(control_.get(), dispid::kShowIcon).hr, S_OK);
    window_ = IconWindow();
    ASSERT_TRUE(window_);
  }

  // Posts a tray callback to the control's window, as the shell does.
  void PostCallback(UINT message, WPARAM id = kIconId) {
    ASSERT_TRUE(::PostMessageW(window_, kCallbackMessage, id, message));
  }

  // Posts and waits until `sink` has `count` events.
  void PostAndWait(UINT message, RecordingSink* sink, size_t count) {
    PostCallback(message);
    ASSERT_TRUE(PumpUntil([&] { return sink->events.size() >= count; })) << "no event for message " << message;
  }

  HWND window_ = nullptr;
};

TEST_F(EventsTest, EachMouseAndBalloonCallbackRaisesItsEvent) {
  auto sink = common::make<RecordingSink>();
  ASSERT_NE(AdviseEvents(control_.get(), sink.get()), 0u);
  constexpr VARTYPE kButton = VT_I2 | VT_BYREF;
  const struct {
    UINT message;
    DISPID event;
    VARTYPE argument;  // VT_EMPTY: none
    short button;
  } cases[] = {
      {WM_LBUTTONDOWN, dispid::kMouseDown, kButton, 1},   {WM_RBUTTONDOWN, dispid::kMouseDown, kButton, 2},
      {WM_MBUTTONDOWN, dispid::kMouseDown, kButton, 4},   {WM_LBUTTONUP, dispid::kMouseUp, kButton, 1},
      {WM_RBUTTONUP, dispid::kMouseUp, kButton, 2},       {WM_MBUTTONUP, dispid::kMouseUp, kButton, 4},
      {WM_LBUTTONDBLCLK, dispid::kDblClick, kButton, 1},  {WM_RBUTTONDBLCLK, dispid::kDblClick, kButton, 2},
      {WM_MBUTTONDBLCLK, dispid::kDblClick, kButton, 4},  {WM_MOUSEMOVE, dispid::kMouseMove, VT_EMPTY, 0},
      {NIN_BALLOONSHOW, dispid::kBalloonShow, VT_EMPTY, 0},   {NIN_BALLOONHIDE, dispid::kBalloonClose, VT_EMPTY, 0},
      {NIN_BALLOONTIMEOUT, dispid::kBalloonClose, VT_EMPTY, 0}, {NIN_BALLOONUSERCLICK, dispid::kBalloonClick, VT_EMPTY, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const size_t before = sink->events.size();
    PostAndWait(c.message, sink.get(), before + 1);
    ASSERT_EQ(sink->events.size(), before + 1);
    const ReceivedEvent& event = sink->events.back();
    EXPECT_EQ(event.id, c.event);
    EXPECT_EQ(event.argumentCount, c.argument == VT_EMPTY ? 0u : 1u);
    EXPECT_EQ(event.argumentType, c.argument);
    EXPECT_EQ(event.button, c.button);
  }

  // Callbacks for another icon and other messages raise nothing.
  const size_t before = sink->events.size();
  PostCallback(WM_LBUTTONDOWN, 2);
  PostCallback(WM_KEYDOWN);
  PostCallback(WM_USER + 7);
  PumpPending();
  EXPECT_EQ(sink->events.size(), before);
}

TEST_F(EventsTest, EventsAreRaisedSynchronouslyOnTheControlsThread) {
  auto sink = common::make<RecordingSink>();
  DWORD thread = 0;
  sink->onEvent = [&](DISPID) { thread = ::GetCurrentThreadId(); };
  AdviseEvents(control_.get(), sink.get());
  ::SendMessageW(window_, kCallbackMessage, kIconId, WM_RBUTTONUP);
  ASSERT_EQ(sink->events.size(), 1u) << "delivered before SendMessage returned";
  EXPECT_EQ(thread, ::GetCurrentThreadId());
}

TEST_F(EventsTest, EverySinkHearsEachEventWithTheOriginalButton) {
  auto first = common::make<RecordingSink>();
  auto dispatchOnly = common::make<RecordingSink>(false);  // answers IDispatch, not the event IID
  auto third = common::make<RecordingSink>();
  for (RecordingSink* sink : {first.get(), dispatchOnly.get(), third.get()}) {
    ASSERT_NE(AdviseEvents(control_.get(), sink), 0u);
  }
  PostAndWait(WM_MBUTTONDOWN, third.get(), 1);
  for (RecordingSink* sink : {first.get(), dispatchOnly.get(), third.get()}) {
    ASSERT_EQ(sink->events.size(), 1u);
    EXPECT_EQ(sink->events[0].id, dispid::kMouseDown);
    EXPECT_EQ(sink->events[0].button, 4) << "a sink that writes to Button does not change what the next sees";
  }
}

TEST_F(EventsTest, ASinkMayUnadviseItselfAndOthersDuringAnEvent) {
  auto first = common::make<RecordingSink>();
  auto second = common::make<RecordingSink>();
  const DWORD firstCookie = AdviseEvents(control_.get(), first.get());
  const DWORD secondCookie = AdviseEvents(control_.get(), second.get());
  HRESULT unadvised[2] = {E_FAIL, E_FAIL};
  first->onEvent = [&](DISPID) {
    unadvised[0] = UnadviseEvents(control_.get(), firstCookie);
    unadvised[1] = UnadviseEvents(control_.get(), secondCookie);
  };
  PostAndWait(WM_LBUTTONDOWN, first.get(), 1);
  EXPECT_EQ(unadvised[0], S_OK);
  EXPECT_EQ(unadvised[1], S_OK);
  EXPECT_EQ(UnadviseEvents(control_.get(), firstCookie), CONNECT_E_NOCONNECTION);
  PostCallback(WM_LBUTTONUP);
  PumpPending();
  EXPECT_EQ(first->events.size(), 1u) << "an unadvised sink hears nothing more";
  EXPECT_TRUE(second->events.empty()) << "unadvised before its turn";
}

TEST_F(EventsTest, ASinkMayReleaseTheLastReferenceDuringAnEvent) {
  auto sink = common::make<RecordingSink>();
  auto other = common::make<RecordingSink>();
  AdviseEvents(control_.get(), sink.get());
  AdviseEvents(control_.get(), other.get());
  common::ComPtr<IDispatch> last = std::move(control_);
  sink->onEvent = [&](DISPID) { last.reset(); };
  PostAndWait(WM_LBUTTONDBLCLK, sink.get(), 1);
  PumpPending();
  EXPECT_FALSE(last);
  EXPECT_EQ(other->events.size(), 1u) << "the event still reaches every sink";
  EXPECT_FALSE(::IsWindow(window_));
  ASSERT_EQ(CallsOf(NIM_DELETE).size(), 1u) << "the icon went with the control";
}

TEST_F(EventsTest, AClosedControlRaisesNoEvents) {
  auto sink = common::make<RecordingSink>();
  AdviseEvents(control_.get(), sink.get());
  common::ComPtr<IOleObject> object;
  ASSERT_EQ(control_.As(&object), S_OK);
  ASSERT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
  ::PostMessageW(window_, kCallbackMessage, kIconId, WM_LBUTTONDOWN);
  for (HWND window : TrayWindowsOfThisThread()) ::PostMessageW(window, kCallbackMessage, kIconId, WM_LBUTTONDOWN);
  PumpPending();
  EXPECT_TRUE(sink->events.empty());
}

TEST_F(EventsTest, OneConnectionPointForTheEventInterface) {
  common::ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(control_.As(&container), S_OK);
  common::ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, point.put()), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(container->FindConnectionPoint(DIID_ITraylume, point.put()), CONNECT_E_NOCONNECTION);

  common::ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
  IConnectionPoint* found[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(points->Next(2, found, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  point = common::ComPtr<IConnectionPoint>::Adopt(found[0]);
  IID iid{};
  ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, DIID_ITraylumeEvents);

  // An object without IDispatch cannot connect.
  auto bag = common::make<MemoryPropertyBag>();
  DWORD cookie = 0;
  EXPECT_EQ(point->Advise(bag.get(), &cookie), CONNECT_E_CANNOTCONNECT);
}

}  // namespace
}  // namespace traylume_tests
