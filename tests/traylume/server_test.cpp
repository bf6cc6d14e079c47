// Traylume.ocx as a COM server: its class factory and unload rule, its
// version block, machine-wide and per-user registration, and activation
// without registration from a manifest.

#include <gtest/gtest.h>

#include <ole2.h>

#include <string>

#include "common/bstr.h"
#include "common/unique_handle.h"
#include "contract/traylume_contract.h"
#include "tests/support/com_test.h"
#include "tests/traylume/automation.h"
#include "tests/traylume/ocx_server.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

namespace dispid = contract::dispid;

constexpr const wchar_t kProgId[] = L"TraylumeControl.Traylume";
constexpr const wchar_t kVersionedProgId[] = L"TraylumeControl.Traylume.1";

// Every server test ends with no object of the server alive.
class ServerTest : public testing_support::ComTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(OcxServer::Get().CanUnloadNow(), S_OK) << "an object of Traylume.ocx is still alive";
    ComTest::TearDown();
  }
  const OcxServer& server() const { return OcxServer::Get(); }
};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

// The default (or named) string value of HKLM/HKCU\Software\Classes\<key>.
bool ReadClassesValue(HKEY hive, const std::wstring& key, const wchar_t* name, std::wstring* value) {
  wchar_t buffer[1024] = {};
  DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
  const std::wstring path = L"Software\\Classes\\" + key;
  if (::RegGetValueW(hive, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) return false;
  if (value) *value = buffer;
  return true;
}

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

bool WriteFileText(const std::wstring& path, const std::string& text) {
  common::UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Leaves the machine unregistered whatever the test does.
struct Unregister {
  ~Unregister() { OcxServer::Get().UnregisterServer(); }
};

TEST_F(ServerTest, ClassFactoryMakesTheControlAndOnlyIt) {
  common::ComPtr<IClassFactory> factory;
  const CLSID other = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(server().GetClassObject(other, IID_IClassFactory, factory.put_void()), CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(server().GetClassObject(CLSID_Traylume, IID_IClassFactory, factory.put_void()), S_OK);

  common::ComPtr<IDispatch> control;
  auto outer = common::ComPtr<IClassFactory>(factory);  // any IUnknown will do as an outer object
  EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IDispatch, control.put_void()), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, control.put_void()), E_NOINTERFACE);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, control.put_void()), S_OK);
  EXPECT_EQ(Get(control.get(), dispid::kBalloonIcon).hr, S_OK);
}

TEST_F(ServerTest, LiveObjectsAndServerLocksKeepTheServerLoaded) {
  ASSERT_EQ(server().CanUnloadNow(), S_OK);
  common::ComPtr<IClassFactory> factory;
  ASSERT_EQ(server().GetClassObject(CLSID_Traylume, IID_IClassFactory, factory.put_void()), S_OK);
  EXPECT_EQ(server().CanUnloadNow(), S_FALSE) << "a factory is alive";

  common::ComPtr<IDispatch> control;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, control.put_void()), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.reset();
  EXPECT_EQ(server().CanUnloadNow(), S_FALSE) << "a control and a lock";
  control.reset();
  EXPECT_EQ(server().CanUnloadNow(), S_FALSE) << "the lock";

  // Unlocked through another factory, as COM clients do.
  ASSERT_EQ(server().GetClassObject(CLSID_Traylume, IID_IClassFactory, factory.put_void()), S_OK);
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  // One unlock too many must not hide a live object.
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(server().CanUnloadNow(), S_FALSE) << "the factory itself";
  factory.reset();
  EXPECT_EQ(server().CanUnloadNow(), S_OK);
}

TEST_F(ServerTest, VersionBlockNamesTheFileInJapanese) {
  const std::wstring path = server().path();
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  const auto value = [&](const wchar_t* name) {
    void* text = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    if (!::VerQueryValueW(block.data(), query.c_str(), &text, &length) || !text) return std::wstring(L"<none>");
    return std::wstring(static_cast<const wchar_t*>(text));
  };
  EXPECT_EQ(value(L"OriginalFilename"), L"Traylume.ocx");
  EXPECT_EQ(value(L"FileDescription"), L"Traylume 通知領域アイコン コントロール");
  EXPECT_EQ(value(L"FileVersion"), L"1.00");
  EXPECT_EQ(value(L"ProductVersion"), L"1.00");
  EXPECT_NE(value(L"OLESelfRegister"), L"<none>") << "marks a self-registering server";
}

TEST_F(ServerTest, MachineWideRegistrationLetsComCreateTheControlByProgId) {
  Unregister atTheEnd;
  const std::wstring clsid = GuidText(CLSID_Traylume);
  ASSERT_EQ(server().RegisterServer(), S_OK);

  std::wstring value;
  ASSERT_TRUE(ReadClassesValue(HKEY_LOCAL_MACHINE, L"CLSID\\" + clsid + L"\\InprocServer32", nullptr, &value));
  EXPECT_TRUE(SamePath(value, server().path())) << Narrow(value);
  ASSERT_TRUE(ReadClassesValue(HKEY_LOCAL_MACHINE, L"CLSID\\" + clsid + L"\\InprocServer32", L"ThreadingModel",
                               &value));
  EXPECT_EQ(value, L"Apartment");
  ASSERT_TRUE(ReadClassesValue(HKEY_LOCAL_MACHINE, std::wstring(kProgId) + L"\\CurVer", nullptr, &value));
  EXPECT_EQ(value, kVersionedProgId);
  ASSERT_TRUE(ReadClassesValue(HKEY_LOCAL_MACHINE, L"CLSID\\" + clsid + L"\\MiscStatus\\1", nullptr, &value));
  EXPECT_TRUE(std::stoul(value) & OLEMISC_INVISIBLEATRUNTIME);

  CLSID found{};
  ASSERT_EQ(::CLSIDFromProgID(kProgId, &found), S_OK);
  EXPECT_EQ(found, CLSID_Traylume);
  ASSERT_EQ(::CLSIDFromProgID(kVersionedProgId, &found), S_OK);
  EXPECT_EQ(found, CLSID_Traylume);
  common::ComPtr<ITypeLib> library;
  EXPECT_EQ(::LoadRegTypeLib(LIBID_TraylumeControl, 1, 0, 0, library.put()), S_OK);
  library.reset();

  common::ComPtr<IDispatch> control;
  ASSERT_EQ(::CoCreateInstance(found, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.put_void()), S_OK);
  common::UniqueBstr tip(L"登録済み");
  EXPECT_EQ(Put(control.get(), dispid::kToolTipText, Text(tip.get())).hr, S_OK);
  EXPECT_EQ(GetText(control.get(), dispid::kToolTipText), L"登録済み");
  control.reset();

  ASSERT_EQ(server().UnregisterServer(), S_OK);
  EXPECT_NE(::CLSIDFromProgID(kProgId, &found), S_OK);
  EXPECT_FALSE(ReadClassesValue(HKEY_LOCAL_MACHINE, L"CLSID\\" + clsid + L"\\InprocServer32", nullptr, nullptr));
  EXPECT_FALSE(ReadClassesValue(HKEY_LOCAL_MACHINE, L"TypeLib\\" + GuidText(LIBID_TraylumeControl) + L"\\1.0",
                                nullptr, nullptr));
  EXPECT_FALSE(ReadClassesValue(HKEY_LOCAL_MACHINE, L"Interface\\" + GuidText(DIID_ITraylumeEvents), nullptr,
                                nullptr));
  EXPECT_EQ(server().UnregisterServer(), S_OK) << "unregistering twice is fine";
}

TEST_F(ServerTest, DllInstallWithUserRegistersForTheCurrentUserOnlyAndRefusesOtherCommandLines) {
  struct UnregisterUser {
    ~UnregisterUser() { OcxServer::Get().Install(false, L"user"); }
  } atTheEnd;
  EXPECT_EQ(server().Install(true, L"everyone"), E_INVALIDARG);
  EXPECT_FALSE(ReadClassesValue(HKEY_CURRENT_USER, kProgId, nullptr, nullptr));
  EXPECT_FALSE(ReadClassesValue(HKEY_LOCAL_MACHINE, kProgId, nullptr, nullptr));

  const std::wstring key = L"CLSID\\" + GuidText(CLSID_Traylume) + L"\\InprocServer32";
  ASSERT_EQ(server().Install(true, L"user"), S_OK);
  std::wstring value;
  ASSERT_TRUE(ReadClassesValue(HKEY_CURRENT_USER, key, nullptr, &value));
  EXPECT_TRUE(SamePath(value, server().path()));
  EXPECT_TRUE(ReadClassesValue(HKEY_CURRENT_USER, std::wstring(kProgId) + L"\\CLSID", nullptr, &value));
  EXPECT_FALSE(ReadClassesValue(HKEY_LOCAL_MACHINE, key, nullptr, nullptr)) << "not machine-wide";
  ASSERT_EQ(server().Install(false, L"user"), S_OK);
  EXPECT_FALSE(ReadClassesValue(HKEY_CURRENT_USER, key, nullptr, nullptr));
  EXPECT_FALSE(ReadClassesValue(HKEY_CURRENT_USER, kProgId, nullptr, nullptr));
}

TEST_F(ServerTest, AManifestNextToTheProgramActivatesTheControlWithoutRegistration) {
  CLSID found{};
  ASSERT_NE(::CLSIDFromProgID(kProgId, &found), S_OK) << "the class must not be registered for this test";

  const std::wstring directory = ProgramDirectory();
  const std::wstring manifest = directory + L"\\traylume_registration_free.manifest";
  const std::string clsid = Narrow(GuidText(CLSID_Traylume));
  const std::string libid = Narrow(GuidText(LIBID_TraylumeControl));
  ASSERT_TRUE(WriteFileText(manifest,
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
            "  <assemblyIdentity type=\"win32\" name=\"Traylume.Tests.RegistrationFree\" version=\"1.0.0.0\"/>\r\n"
            "  <file name=\"Traylume.ocx\">\r\n"
            "    <comClass clsid=\"" + clsid +
            "\" progid=\"TraylumeControl.Traylume\" threadingModel=\"Apartment\" tlbid=\"" + libid +
            "\"/>\r\n"
            "    <typelib tlbid=\"" + libid + "\" version=\"1.0\" helpdir=\"\"/>\r\n"
            "  </file>\r\n"
            "</assembly>\r\n"));
  struct RemoveFile {
    std::wstring path;
    ~RemoveFile() { ::DeleteFileW(path.c_str()); }
  } removeManifest{manifest};

  ACTCTXW description{};
  description.cbSize = sizeof(description);
  description.dwFlags = ACTCTX_FLAG_ASSEMBLY_DIRECTORY_VALID;
  description.lpSource = manifest.c_str();
  description.lpAssemblyDirectory = directory.c_str();
  common::UniqueActCtx context(::CreateActCtxW(&description));
  ASSERT_TRUE(context) << "CreateActCtxW failed: " << ::GetLastError();
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(::ActivateActCtx(context.get(), &cookie));
  {
    // Inside the context the ProgID names the class (possibly through an alias GUID).
    ASSERT_EQ(::CLSIDFromProgID(kProgId, &found), S_OK);
    common::ComPtr<IDispatch> control;
    EXPECT_EQ(::CoCreateInstance(found, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.put_void()), S_OK);
    if (control) {
      common::UniqueBstr tip(L"登録なし");
      EXPECT_EQ(Put(control.get(), dispid::kToolTipText, Text(tip.get())).hr, S_OK);
      EXPECT_EQ(GetText(control.get(), dispid::kToolTipText), L"登録なし");
    }
  }
  ::DeactivateActCtx(0, cookie);
  EXPECT_NE(::CLSIDFromProgID(kProgId, &found), S_OK) << "outside the context the class is unknown again";
}

}  // namespace
}  // namespace traylume_tests
