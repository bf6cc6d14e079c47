// The event log: the thirteen lines from fired events, and the selection,
// which follows once the message loop comes round.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "component/dispids.h"
#include "tests/app/form_fixture.h"

namespace app_tests {
namespace {

using ::testing::ElementsAre;
namespace dispid = traylume::dispid;

class EventLog : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ShowForm();
    references_ = fake->References();
  }
  void TearDown() override {
    if (fake) {
      EXPECT_EQ(fake->References(), references_);
    }
    FormTest::TearDown();
  }
  ULONG references_ = 0;
};

struct Case {
  DISPID event;
  std::optional<short> button;
  const wchar_t* line;
};
const Case kCases[] = {
    {dispid::kMouseDown, 1, L"左ボタンが押されました。"},
    {dispid::kMouseDown, 4, L"中ボタンが押されました。"},
    {dispid::kMouseDown, 2, L"右ボタンが押されました。"},
    {dispid::kMouseMove, std::nullopt, L"カーソルが通過しました。"},
    {dispid::kMouseUp, 1, L"左ボタンが離されました。"},
    {dispid::kMouseUp, 4, L"中ボタンが離されました。"},
    {dispid::kMouseUp, 2, L"右ボタンが離されました。"},
    {dispid::kDblClick, 1, L"左ダブルクリックされました。"},
    {dispid::kDblClick, 4, L"中ダブルクリックされました。"},
    {dispid::kDblClick, 2, L"右ダブルクリックされました。"},
    {dispid::kBalloonShow, std::nullopt, L"バルーンが表示されました。"},
    {dispid::kBalloonClose, std::nullopt, L"バルーンが閉じられました。"},
    {dispid::kBalloonClick, std::nullopt, L"バルーンがクリックされました。"},
};

TEST_F(EventLog, EveryEventAddsItsLineAndSelectsIt) {
  int index = 0;
  for (const Case& c : kCases) {
    fake->Fire(c.event, c.button);
    PumpLikeProgram();
    const std::vector<std::wstring> lines = LogLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(index + 1));
    EXPECT_EQ(lines.back(), c.line);
    EXPECT_EQ(LogSelection(), index);
    ++index;
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(EventLog, AButtonPassedByValueIsReadToo) {
  fake->Fire(dispid::kMouseUp, short{2}, false);
  EXPECT_THAT(LogLines(), ElementsAre(L"右ボタンが離されました。"));
}

TEST_F(EventLog, AnUnknownButtonAsTheFirstEventAddsNothingAndSelectsNothing) {
  fake->Fire(dispid::kMouseDown, short{3});
  fake->Fire(dispid::kDblClick, short{0});
  PumpLikeProgram();
  EXPECT_TRUE(LogLines().empty());
  EXPECT_EQ(LogSelection(), LB_ERR);
}

TEST_F(EventLog, AnUnknownButtonAfterOthersSelectsTheNewestLineAgain) {
  fake->Fire(dispid::kMouseDown, short{1});
  fake->Fire(dispid::kMouseMove);
  PumpLikeProgram();
  ::SendMessageW(Control(app::Ctl::lstEvent), LB_SETCURSEL, 0, 0);  // the user looks at the first line
  fake->Fire(dispid::kMouseUp, short{3});
  PumpLikeProgram();
  EXPECT_EQ(LogLines().size(), 2u);
  EXPECT_EQ(LogSelection(), 1);
}

// Events that come faster than the loop turns: every line in order, then
// the newest selected and in view once the loop reaches the form.
TEST_F(EventLog, ABurstLogsEveryLineInOrderAndShowsTheNewest) {
  std::vector<std::wstring> expected;
  for (int round = 0; round < 4; ++round) {
    for (const Case& c : kCases) {
      fake->Fire(c.event, c.button);
      expected.push_back(c.line);
    }
  }
  PumpLikeProgram();
  EXPECT_EQ(LogLines(), expected);
  const int newest = static_cast<int>(expected.size()) - 1;
  EXPECT_EQ(LogSelection(), newest);
  RECT item{};
  ::SendMessageW(Control(app::Ctl::lstEvent), LB_GETITEMRECT, newest, reinterpret_cast<LPARAM>(&item));
  RECT client{};
  ::GetClientRect(Control(app::Ctl::lstEvent), &client);
  EXPECT_GE(item.top, 0);
  EXPECT_LE(item.bottom, client.bottom);
}

TEST_F(EventLog, OneEventShowsAfterOneTurnOfTheLoop) {
  fake->Fire(dispid::kMouseMove);
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  ::DispatchMessageW(&message);
  EXPECT_THAT(LogLines(), ElementsAre(L"カーソルが通過しました。"));
  EXPECT_EQ(LogSelection(), 0);
}

}  // namespace
}  // namespace app_tests
