// The one message a failure reaches the user with.
#include <gtest/gtest.h>

#include "app/report.h"
#include "app/texts.h"
#include "common/hresult.h"

namespace app_tests {
namespace {

namespace texts = app::texts;

// The step after its label, the reason after its own (the system's text
// where the failure has none, or a word that there is none), and the code
// as eight upper-case hex digits.
TEST(Report, TheMessageNamesTheStepTheReasonAndTheCode) {
  const std::wstring text = app::FailureText(common::ComResult::Failure(E_ACCESSDENIED, L"手順"));
  EXPECT_NE(text.find(std::wstring(texts::kFailureOperation) + L"手順\r\n"), std::wstring::npos);
  EXPECT_NE(text.find(std::wstring(texts::kFailureReason) + common::SystemMessage(E_ACCESSDENIED) + L"\r\n"),
            std::wstring::npos);
  const std::wstring unknown = app::FailureText(common::ComResult::Failure(0x8FFF1234, L"手順"));
  EXPECT_NE(unknown.find(std::wstring(texts::kFailureReason) + texts::kNoReason), std::wstring::npos);
  EXPECT_NE(unknown.find(std::wstring(texts::kFailureCode) + L"0x8FFF1234"), std::wstring::npos);
}

}  // namespace
}  // namespace app_tests
