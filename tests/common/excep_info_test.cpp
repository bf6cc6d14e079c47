// The EXCEPINFO owner: deferred text filled in once, the code from either field.
#include <gtest/gtest.h>

#include "common/excep_info.h"

namespace {

HRESULT STDAPICALLTYPE FillLater(EXCEPINFO* info) {
  info->bstrDescription = ::SysAllocString(L"後で");
  return S_OK;
}

TEST(ExcepInfo, DeferredTextIsFilledInOnce) {
  common::UniqueExcepInfo info;
  info.get()->pfnDeferredFillIn = &FillLater;
  info.Complete();
  EXPECT_EQ(info.description(), L"後で");
  EXPECT_EQ(info.get()->pfnDeferredFillIn, nullptr) << "it would be filled in twice";
}

TEST(ExcepInfo, TheCodeComesFromScodeOrElseFromWCode) {
  common::UniqueExcepInfo info;
  info.get()->wCode = 5;
  EXPECT_EQ(info.code(), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, 5));
  info.get()->scode = E_ACCESSDENIED;
  EXPECT_EQ(info.code(), E_ACCESSDENIED);
}

}  // namespace
