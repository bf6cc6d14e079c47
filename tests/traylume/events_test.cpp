// Events: tray callbacks become the control's events, raised synchronously
// on the control's thread to every advised sink, with the Button code as a
// 16-bit integer by reference.

#include <gtest/gtest.h>

#include <ocidl.h>
#include <ole2.h>

#include <vector>

#include "component/dispids.h"
#include "tests/traylume/automation.h"
#include "tests/traylume/control_fixture.h"
#include "tests/traylume/memory_property_bag.h"
#include "tests/support/message_pump.h"
#include "tests/traylume/recording_sink.h"
#include "traylume_idl.h"

namespace traylume_tests {

using testing_support::PumpPending;
using testing_support::PumpUntil;
namespace {

namespace dispid = traylume::dispid;

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

TEST_F(EventsTest, MouseButtonCallbacksBecomeMouseEventsWithTheButtonByReference) {
  auto sink = common::make<RecordingSink>();
  ASSERT_NE(AdviseEvents(control_.get(), sink.get()), 0u);
  struct Case {
    UINT message;
    DISPID event;
    short button;
  };
  const Case cases[] = {
      {WM_LBUTTONDOWN, dispid::kMouseDown, 1},   {WM_RBUTTONDOWN, dispid::kMouseDown, 2},
      {WM_MBUTTONDOWN, dispid::kMouseDown, 4},   {WM_LBUTTONUP, dispid::kMouseUp, 1},
      {WM_RBUTTONUP, dispid::kMouseUp, 2},       {WM_MBUTTONUP, dispid::kMouseUp, 4},
      {WM_LBUTTONDBLCLK, dispid::kDblClick, 1},  {WM_RBUTTONDBLCLK, dispid::kDblClick, 2},
      {WM_MBUTTONDBLCLK, dispid::kDblClick, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const size_t before = sink->events.size();
    PostAndWait(c.message, sink.get(), before + 1);
    ASSERT_EQ(sink->events.size(), before + 1);
    const ReceivedEvent& event = sink->events.back();
    EXPECT_EQ(event.id, c.event);
    EXPECT_EQ(event.argumentCount, 1u);
    EXPECT_EQ(event.argumentType, VT_I2 | VT_BYREF);
    EXPECT_EQ(event.button, c.button);
  }
}

TEST_F(EventsTest, MouseMoveHasNoArgument) {
  auto sink = common::make<RecordingSink>();
  AdviseEvents(control_.get(), sink.get());
  PostAndWait(WM_MOUSEMOVE, sink.get(), 1);
  ASSERT_EQ(sink->events.size(), 1u);
  EXPECT_EQ(sink->events[0].id, dispid::kMouseMove);
  EXPECT_EQ(sink->events[0].argumentCount, 0u);
}

TEST_F(EventsTest, ADoubleClickArrivesAsTheShellSendsIt) {
  auto sink = common::make<RecordingSink>();
  AdviseEvents(control_.get(), sink.get());
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) PostCallback(message);
  ASSERT_TRUE(PumpUntil([&] { return sink->events.size() >= 4; }));
  std::vector<DISPID> ids;
  for (const auto& event : sink->events) ids.push_back(event.id);
  EXPECT_EQ(ids, (std::vector<DISPID>{dispid::kMouseDown, dispid::kMouseUp, dispid::kDblClick, dispid::kMouseUp}));
}

TEST_F(EventsTest, BalloonNotificationsBecomeBalloonEvents) {
  auto sink = common::make<RecordingSink>();
  AdviseEvents(control_.get(), sink.get());
  const std::pair<UINT, DISPID> cases[] = {
      {NIN_BALLOONSHOW, dispid::kBalloonShow},
      {NIN_BALLOONHIDE, dispid::kBalloonClose},
      {NIN_BALLOONTIMEOUT, dispid::kBalloonClose},
      {NIN_BALLOONUSERCLICK, dispid::kBalloonClick},
  };
  for (const auto& [message, event] : cases) {
    SCOPED_TRACE(message);
    const size_t before = sink->events.size();
    PostAndWait(message, sink.get(), before + 1);
    ASSERT_EQ(sink->events.size(), before + 1);
    EXPECT_EQ(sink->events.back().id, event);
    EXPECT_EQ(sink->events.back().argumentCount, 0u);
  }
}

TEST_F(EventsTest, CallbacksForOtherIconsAndOtherMessagesRaiseNothing) {
  auto sink = common::make<RecordingSink>();
  AdviseEvents(control_.get(), sink.get());
  PostCallback(WM_LBUTTONDOWN, 2);
  PostCallback(WM_KEYDOWN);
  PostCallback(WM_USER + 7);
  PumpPending();
  EXPECT_TRUE(sink->events.empty());
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
  ASSERT_NE(AdviseEvents(control_.get(), first.get()), 0u);
  ASSERT_NE(AdviseEvents(control_.get(), dispatchOnly.get()), 0u);
  ASSERT_NE(AdviseEvents(control_.get(), third.get()), 0u);
  PostAndWait(WM_MBUTTONDOWN, third.get(), 1);
  for (RecordingSink* sink : {first.get(), dispatchOnly.get(), third.get()}) {
    ASSERT_EQ(sink->events.size(), 1u);
    EXPECT_EQ(sink->events[0].id, dispid::kMouseDown);
    EXPECT_EQ(sink->events[0].button, 4) << "a sink that writes to Button does not change what the next sees";
  }
}

TEST_F(EventsTest, AnUnadvisedSinkHearsNothingMore) {
  auto sink = common::make<RecordingSink>();
  const DWORD cookie = AdviseEvents(control_.get(), sink.get());
  PostAndWait(WM_LBUTTONDOWN, sink.get(), 1);
  ASSERT_EQ(UnadviseEvents(control_.get(), cookie), S_OK);
  EXPECT_EQ(UnadviseEvents(control_.get(), cookie), CONNECT_E_NOCONNECTION);
  PostCallback(WM_LBUTTONUP);
  PumpPending();
  EXPECT_EQ(sink->events.size(), 1u);
}

TEST_F(EventsTest, ASinkMayUnadviseItselfAndOthersDuringAnEvent) {
  auto first = common::make<RecordingSink>();
  auto second = common::make<RecordingSink>();
  const DWORD firstCookie = AdviseEvents(control_.get(), first.get());
  const DWORD secondCookie = AdviseEvents(control_.get(), second.get());
  first->onEvent = [&](DISPID) {
    UnadviseEvents(control_.get(), firstCookie);
    UnadviseEvents(control_.get(), secondCookie);
  };
  PostAndWait(WM_LBUTTONDOWN, first.get(), 1);
  PostCallback(WM_LBUTTONUP);
  PumpPending();
  EXPECT_EQ(first->events.size(), 1u);
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

TEST_F(EventsTest, AnObjectWithoutDispatchCannotConnect) {
  auto bag = common::make<MemoryPropertyBag>();
  HRESULT hr = S_OK;
  EXPECT_EQ(AdviseEvents(control_.get(), bag.get(), &hr), 0u);
  EXPECT_EQ(hr, CONNECT_E_CANNOTCONNECT);
}

TEST_F(EventsTest, TheContainerHasOneConnectionPointForTheEventInterface) {
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
  common::ComPtr<IConnectionPointContainer> back;
  ASSERT_EQ(point->GetConnectionPointContainer(back.put()), S_OK);
  common::ComPtr<IUnknown> a, b;
  back.As(&a);
  control_.As(&b);
  EXPECT_EQ(a.get(), b.get());

  auto sink = common::make<RecordingSink>();
  auto other = common::make<RecordingSink>();
  DWORD cookies[2] = {};
  ASSERT_EQ(point->Advise(sink.get(), &cookies[0]), S_OK);
  ASSERT_EQ(point->Advise(other.get(), &cookies[1]), S_OK);
  EXPECT_NE(cookies[0], cookies[1]);
  common::ComPtr<IEnumConnections> connections;
  ASSERT_EQ(point->EnumConnections(connections.put()), S_OK);
  CONNECTDATA data[3] = {};
  ASSERT_EQ(connections->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(data[0].dwCookie, cookies[0]);
  EXPECT_EQ(data[1].dwCookie, cookies[1]);
  for (ULONG i = 0; i < fetched; ++i) data[i].pUnk->Release();
  common::ComPtr<IEnumConnections> clone;
  ASSERT_EQ(connections->Reset(), S_OK);
  ASSERT_EQ(connections->Skip(1), S_OK);
  ASSERT_EQ(connections->Clone(clone.put()), S_OK);
  ASSERT_EQ(clone->Next(1, data, nullptr), S_OK);
  EXPECT_EQ(data[0].dwCookie, cookies[1]);
  data[0].pUnk->Release();
  point->Unadvise(cookies[0]);
  point->Unadvise(cookies[1]);
}

}  // namespace
}  // namespace traylume_tests
