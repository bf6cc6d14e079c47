// The event log: the thirteen lines from fired events and the selection.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "contract/traylume_contract.h"
#include "tests/app/form_fixture.h"

namespace app_tests {
namespace {

using ::testing::ElementsAre;
namespace dispid = contract::dispid;

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

TEST_F(EventLog, EveryEventAddsItsLineAndSelectsIt) {
  struct Case {
    DISPID event;
    std::optional<short> button;
    const wchar_t* line;
  };
  const Case cases[] = {
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
  int index = 0;
  for (const Case& c : cases) {
    fake->Fire(c.event, c.button);
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
  EXPECT_TRUE(LogLines().empty());
  EXPECT_EQ(LogSelection(), LB_ERR);
}

TEST_F(EventLog, AnUnknownButtonAfterOthersSelectsTheNewestLineAgain) {
  fake->Fire(dispid::kMouseDown, short{1});
  fake->Fire(dispid::kMouseMove);
  ::SendMessageW(Control(app::Ctl::lstEvent), LB_SETCURSEL, 0, 0);  // the user looks at the first line
  fake->Fire(dispid::kMouseUp, short{3});
  EXPECT_EQ(LogLines().size(), 2u);
  EXPECT_EQ(LogSelection(), 1);
}

TEST_F(EventLog, TheNewestLineStaysInView) {
  for (int i = 0; i < 40; ++i) fake->Fire(dispid::kMouseMove);
  HWND log = Control(app::Ctl::lstEvent);
  RECT item{};
  ::SendMessageW(log, LB_GETITEMRECT, 39, reinterpret_cast<LPARAM>(&item));
  RECT client{};
  ::GetClientRect(log, &client);
  EXPECT_GE(item.top, 0);
  EXPECT_LE(item.bottom, client.bottom);
  EXPECT_EQ(LogSelection(), 39);
}

}  // namespace
}  // namespace app_tests
