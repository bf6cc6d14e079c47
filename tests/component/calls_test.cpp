// The program's typed calls to a Traylume control: a failure comes back
// with the best explanation there is, and what comes back is checked. (What
// each call sends shows in the window's handler tests.)
#include <gtest/gtest.h>

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
