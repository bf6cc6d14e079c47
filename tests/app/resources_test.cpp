// The program's version block, in Japanese, carries the one version number.
#include <gtest/gtest.h>

#include "common/module.h"
#include "traylume_version.h"

namespace app_tests {
namespace {

TEST(Resources, TheProgramsVersionBlockIsJapaneseAndCarriesTheVersion) {
  const std::wstring program = common::FolderOf(common::ModulePath(nullptr)) + L"\\TraylumeSample.exe";
  std::vector<BYTE> block(::GetFileVersionInfoSizeW(program.c_str(), nullptr));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(::GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  WORD* translation = nullptr;
  UINT size = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size));
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 1200);
  for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
    wchar_t* value = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    ASSERT_TRUE(::VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &size));
    EXPECT_STREQ(value, L"" TRAYLUME_VERSION_TEXT);
  }
}

}  // namespace
}  // namespace app_tests
