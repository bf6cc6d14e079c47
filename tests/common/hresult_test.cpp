// The failure path: the macros pass a failure on, no exception gets out,
// and the system's texts for codes.
#include <gtest/gtest.h>

#include "common/hresult.h"
#include "common/text.h"

namespace {

HRESULT PassOn(HRESULT hr) {
  RETURN_IF_FAILED(hr);
  return S_FALSE;
}

TEST(FailureMacros, AFailureIsPassedOnAndNoExceptionGetsOut) {
  EXPECT_EQ(PassOn(S_OK), S_FALSE);
  EXPECT_EQ(PassOn(E_ACCESSDENIED), E_ACCESSDENIED);
  EXPECT_EQ(common::NoThrow([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
}

TEST(SystemMessage, IsTheSystemsTextWithoutItsLineBreak) {
  const std::wstring text = common::SystemMessage(E_ACCESSDENIED);
  EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos) << common::Utf8(text);
}

TEST(LastErrorHr, AFailedCallWithoutAnErrorDoesNotReadAsSuccess) {
  ::SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(common::LastErrorHr(), E_FAIL);
}

}  // namespace
