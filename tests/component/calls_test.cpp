// The program's typed calls: a failure without the control's own explanation
// gets the system's, and what comes back is checked; creating the control
// when neither way works names both ways and why.
#include <gtest/gtest.h>

#include "common/bstr.h"
#include "common/hresult.h"
#include "common/text.h"
#include "component/traylume.h"
#include "component/traylume_host.h"
#include "tests/support/automation.h"
#include "tests/support/com_test.h"
#include "tests/support/recording_proxy.h"

namespace {

using CallsTest = support::ComTest;

TEST_F(CallsTest, AFailureSaysWhichMemberFailedAndWhyAndAnswersAreChecked) {
  common::ComPtr<IDispatch> real;
  ASSERT_EQ(support::CreateControl(&real), S_OK);
  auto proxy = common::make<support::RecordingProxy>(real);
  const component::Traylume traylume{common::ComPtr<IDispatch>(proxy.get())};
  proxy->Fail(L"ShowIcon", E_ACCESSDENIED);  // no explanation of its own: the system's
  const common::ComResult result = traylume.ShowIcon();
  EXPECT_EQ(result.hr, E_ACCESSDENIED);
  EXPECT_EQ(result.operation, L"ShowIcon");
  EXPECT_EQ(result.description, common::SystemMessage(E_ACCESSDENIED));

  bool supported = true;
  common::UniqueBstr no(L"False");
  proxy->Answer(L"BalloonSupported", support::Text(no.get()));
  EXPECT_TRUE(traylume.GetBalloonSupported(&supported).ok());
  EXPECT_FALSE(supported);
  for (const VARIANT& answer : {support::I4(5), support::Object(real.get())}) {  // no picture
    proxy->Answer(L"BalloonSupported", answer);
    proxy->Answer(L"Icon", answer);
    common::ComPtr<IPictureDisp> icon;
    EXPECT_FALSE(traylume.GetIcon(&icon).ok());
    EXPECT_FALSE(icon);
  }
  EXPECT_FALSE(traylume.GetBalloonSupported(&supported).ok()) << "an object is no Boolean";
  EXPECT_EQ(component::Traylume().ShowIcon().hr, E_POINTER) << "no control";
}

TEST_F(CallsTest, WithoutAClassOrAFileTheFailureNamesBothWaysAndTheirCodes) {
  common::ComPtr<IUnknown> control;
  const common::ComResult result = component::CreateTraylume(L"Nobody.Here", L"nothing.ocx", &control);
  EXPECT_FALSE(control);
  EXPECT_EQ(result.hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  for (const wchar_t* part : {L"Nobody.Here", L"nothing.ocx", L"0x800401F3", L"0x80070002"}) {
    EXPECT_NE(result.description.find(part), std::wstring::npos) << common::Utf8(part);
  }
}

}  // namespace
