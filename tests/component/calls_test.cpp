// The program's typed calls to a Traylume control: each is exactly one
// Invoke by dispatch id with the automation type the control expects, and
// a failure comes back with the best explanation there is.
#include <gtest/gtest.h>

#include <functional>

#include "common/bstr.h"
#include "common/hresult.h"
#include "component/traylume.h"
#include "tests/support/automation.h"
#include "tests/support/com_test.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_proxy.h"
#include "tests/support/shell_spy.h"

namespace {

using support::RecordingProxy;

class CallsTest : public support::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    common::ComPtr<IDispatch> real;
    ASSERT_EQ(support::CreateControl(&real), S_OK);
    proxy = common::make<RecordingProxy>(real);
    traylume = component::Traylume(common::ComPtr<IDispatch>(proxy.get()));
  }
  void TearDown() override {
    traylume = component::Traylume();
    proxy.reset();
    ComTest::TearDown();
  }

  support::ShellSpy shell{support::ControlModule()};
  common::ComPtr<RecordingProxy> proxy;
  component::Traylume traylume;
};

TEST_F(CallsTest, EachCallIsOneInvokeWithTheTypeTheControlExpects) {
  auto picture = support::SolidIconPicture(RGB(1, 2, 3));
  bool supported = false;
  common::ComPtr<IPictureDisp> icon;
  const struct {
    std::function<common::ComResult()> call;
    const wchar_t* expected;
  } cases[] = {
      {[&] { return traylume.PutBalloonText(L"本文\r\n"); }, L"let BalloonText VT_BSTR 本文\r\n"},
      {[&] { return traylume.PutAutoRefresh(true); }, L"let AutoRefresh VT_BOOL -1"},
      {[&] { return traylume.PutAutoRefresh(false); }, L"let AutoRefresh VT_BOOL 0"},
      {[&] { return traylume.PutBalloonSound(true); }, L"let BalloonSound VT_BOOL -1"},
      {[&] { return traylume.PutBalloon(false); }, L"let Balloon VT_BOOL 0"},
      {[&] { return traylume.PutBalloonTitle(L"題"); }, L"let BalloonTitle VT_BSTR 題"},
      {[&] { return traylume.PutToolTipText(L""); }, L"let ToolTipText VT_BSTR "},
      {[&] { return traylume.PutBalloonIcon(2); }, L"let BalloonIcon VT_I4 2"},
      {[&] { return traylume.PutRefIcon(picture.get()); }, L"putref Icon VT_DISPATCH"},
      {[&] { return traylume.Refresh(); }, L"call Refresh"},
      {[&] { return traylume.ShowIcon(); }, L"call ShowIcon"},
      {[&] { return traylume.HideIcon(); }, L"call HideIcon"},
      {[&] { return traylume.GetBalloonSupported(&supported); }, L"get BalloonSupported"},
      {[&] { return traylume.GetIcon(&icon); }, L"get Icon"},
  };
  for (const auto& c : cases) {
    proxy->calls.clear();
    EXPECT_TRUE(c.call().ok()) << c.expected;
    EXPECT_EQ(proxy->calls, std::vector<std::wstring>{c.expected});
  }
  EXPECT_TRUE(supported);
  EXPECT_EQ(icon.get(), picture.get()) << "Icon read back as the picture set";
}

TEST_F(CallsTest, AFailureSaysWhichMemberFailedAndWhy) {
  proxy->Fail(L"ToolTipText", E_ACCESSDENIED, L"コントロールの説明");
  common::ComResult result = traylume.PutToolTipText(L"x");
  EXPECT_EQ(result.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(result.operation, L"ToolTipText");
  EXPECT_EQ(result.description, L"コントロールの説明");

  proxy->Fail(L"ShowIcon", E_ACCESSDENIED);
  result = traylume.ShowIcon();
  EXPECT_EQ(result.hr, E_ACCESSDENIED);
  EXPECT_EQ(result.operation, L"ShowIcon");
  EXPECT_EQ(result.description, common::SystemMessage(E_ACCESSDENIED));

  // What comes back must be what the program can use.
  bool supported = true;
  common::UniqueBstr no(L"False");
  proxy->Answer(L"BalloonSupported", support::Text(no.get()));
  EXPECT_TRUE(traylume.GetBalloonSupported(&supported).ok());
  EXPECT_FALSE(supported);
  auto notAPicture = common::make<RecordingProxy>(common::ComPtr<IDispatch>(proxy->control()));
  for (const VARIANT& answer : {support::I4(5), support::Object(static_cast<IDispatch*>(notAPicture.get()))}) {
    proxy->Answer(L"BalloonSupported", answer);
    proxy->Answer(L"Icon", answer);
    common::ComPtr<IPictureDisp> icon;
    EXPECT_FALSE(traylume.GetIcon(&icon).ok());
    EXPECT_FALSE(icon);
  }
  EXPECT_FALSE(traylume.GetBalloonSupported(&supported).ok()) << "an object is no Boolean";
  EXPECT_EQ(component::Traylume().ShowIcon().hr, E_POINTER) << "no control";
}

}  // namespace
