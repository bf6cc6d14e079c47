// Creating the control: a ProgID that is neither registered nor backed by a
// file next to the program fails with a message naming both; the
// registration-free manifest declares the class as COM expects it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/module.h"
#include "component/registration_free.h"
#include "component/texts.h"
#include "component/traylume_host.h"
#include "tests/support/com_test.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class CreateTraylumeTest : public testing_support::ComTest {};

TEST_F(CreateTraylumeTest, AProgIdWithoutAClassFailsNamingProgIdAndFile) {
  // A file that does not exist, and one that holds no class (the test program).
  for (const wchar_t* file : {L"no_such_control.ocx", L"binding_tests.exe"}) {
    common::ComPtr<IUnknown> control;
    const common::ComResult result = component::CreateTraylume(L"BindingTests.NoSuchControl", file, &control);
    EXPECT_TRUE(FAILED(result.hr));
    EXPECT_FALSE(control);
    EXPECT_EQ(result.operation, L"BindingTests.NoSuchControl");
    EXPECT_THAT(result.description, StartsWith(L"コンポーネント「BindingTests.NoSuchControl」(" + std::wstring(file) +
                                               L") を作成できませんでした。"));
  }
  EXPECT_FALSE(component::CreateTraylume(L"TraylumeControl.Traylume", L"Traylume.ocx", nullptr))
      << "no place for the result";
}

TEST_F(CreateTraylumeTest, ProgramFolderHoldsTheProgram) {
  const std::wstring folder = common::FolderOf(common::ModulePath(nullptr));
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'\\');
  EXPECT_NE(::GetFileAttributesW((folder + L"\\binding_tests.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(RegistrationFreeManifest, DeclaresTheClassInItsFile) {
  component::EmbeddedClass found;
  found.clsid = {0x12345678, 0x9abc, 0xdef0, {0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc, 0xde, 0xf0}};
  found.library = {0x0fedcba9, 0x8765, 0x4321, {0x0f, 0xed, 0xcb, 0xa9, 0x87, 0x65, 0x43, 0x21}};
  found.majorVersion = 1;
  found.minorVersion = 0;
  const std::string manifest = component::ClassManifest(L"TraylumeControl.Traylume", L"Traylume.ocx", found);
  EXPECT_THAT(manifest, HasSubstr("<assemblyIdentity type=\"win32\" name=\"TraylumeControl.Traylume."));
  EXPECT_THAT(manifest, HasSubstr("<file name=\"Traylume.ocx\">"));
  EXPECT_THAT(manifest, HasSubstr("<comClass clsid=\"{12345678-9ABC-DEF0-1234-56789ABCDEF0}\" "
                                  "progid=\"TraylumeControl.Traylume\" threadingModel=\"Apartment\"/>"));
  EXPECT_THAT(manifest, HasSubstr("<typelib tlbid=\"{0FEDCBA9-8765-4321-0FED-CBA987654321}\" version=\"1.0\""));
}

TEST(RegistrationFreeManifest, EscapesNamesForXml) {
  const std::string manifest = component::ClassManifest(L"A&B.C", L"x<y>.ocx", component::EmbeddedClass());
  EXPECT_THAT(manifest, HasSubstr("progid=\"A&amp;B.C\""));
  EXPECT_THAT(manifest, HasSubstr("<file name=\"x&lt;y&gt;.ocx\">"));
  EXPECT_THAT(manifest, ::testing::Not(HasSubstr("<typelib")));
}

}  // namespace
