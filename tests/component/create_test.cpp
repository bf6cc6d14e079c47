// Creating the control when neither way works: the message names the
// ProgID, the file, and each way with its reason.
#include <gtest/gtest.h>

#include "component/traylume_host.h"
#include "tests/support/com_test.h"

namespace {

using CreateTest = support::ComTest;

TEST_F(CreateTest, WithoutAClassOrAFileTheFailureNamesBothWaysAndTheirCodes) {
  common::ComPtr<IUnknown> control;
  const common::ComResult result = component::CreateTraylume(L"Nobody.Here", L"nothing.ocx", &control);
  EXPECT_FALSE(result.ok());
  EXPECT_FALSE(control);
  EXPECT_EQ(result.hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_NE(result.description.find(L"Nobody.Here"), std::wstring::npos);
  EXPECT_NE(result.description.find(L"nothing.ocx"), std::wstring::npos);
  EXPECT_NE(result.description.find(L"0x800401F3"), std::wstring::npos) << "the ProgID's own reason";
  EXPECT_NE(result.description.find(L"0x80070002"), std::wstring::npos) << "the file's own reason";
}

}  // namespace
