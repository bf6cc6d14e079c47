// Traylume.ocx as a COM server: its class factory and server lock, its
// registration, and what a form host asks of it through IOleObject.
#include <gtest/gtest.h>

#include <comcat.h>
#include <objsafe.h>

#include <string>

#include "common/text.h"
#include "common/unique_handle.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/registry_guard.h"
#include "tests/traylume/control_test.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

using ServerTest = ControlTest;

TEST_F(ServerTest, TheFactoryMakesControlsAndTheServerStaysWhileLocked) {
  common::ComPtr<IClassFactory> factory;
  ASSERT_EQ(support::ControlClassObject(CLSID_Traylume, IID_IClassFactory, factory.put_void()), S_OK);
  common::ComPtr<IUnknown> object;
  EXPECT_EQ(factory->CreateInstance(control.get(), IID_IUnknown, object.put_void()), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, object.put_void()), E_NOINTERFACE);
  EXPECT_EQ(support::ControlClassObject(IID_IUnknown, IID_IClassFactory, object.put_void()),
            CLASS_E_CLASSNOTAVAILABLE);
  control.reset();
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory.reset();
  EXPECT_EQ(support::ControlCanUnloadNow(), S_FALSE) << "unloadable while locked";
  ASSERT_EQ(support::ControlClassObject(CLSID_Traylume, IID_IClassFactory, factory.put_void()), S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK) << "one unlock too many";
  factory.reset();
  EXPECT_EQ(support::ControlCanUnloadNow(), S_OK);
}

// The value `name` of HKLM\Software\Classes\`key`, or what the failure was.
std::wstring MachineClassValue(const std::wstring& key, const wchar_t* name) {
  wchar_t text[MAX_PATH] = {};
  DWORD bytes = sizeof(text);
  const LONG status = ::RegGetValueW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key).c_str(), name,
                                     RRF_RT_REG_SZ, nullptr, text, &bytes);
  return status == ERROR_SUCCESS ? text : L"<error " + std::to_wstring(status) + L">";
}

// Registration writes for all users; the guard puts HKLM back as it was.
class RegistrationTest : public ServerTest {
 protected:
  const std::wstring clsid = L"CLSID\\" + common::GuidText(CLSID_Traylume);
  const std::wstring typeLib = L"TypeLib\\" + common::GuidText(LIBID_TraylumeControl);
  support::ClassesGuard guard{{clsid, typeLib, L"Interface\\" + common::GuidText(DIID_ITraylume),
                               L"Interface\\" + common::GuidText(DIID_ITraylumeEvents)},
                              contract::kProgId};
};

// Every key is held against the installer's rows in the install test; here
// what tells COM and hosts how to treat the class.
TEST_F(RegistrationTest, RegistrationTellsComAndHostsHowToTreatTheClass) {
  ASSERT_EQ(support::RegisterControl(), S_OK);
  const std::wstring versioned = MachineClassValue(clsid + L"\\ProgID", nullptr);
  common::ComPtr<IOleObject> ole;
  DWORD misc = 0;
  ASSERT_EQ(control.As(&ole), S_OK);
  ASSERT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  EXPECT_EQ(MachineClassValue(clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(MachineClassValue(clsid + L"\\MiscStatus\\1", nullptr), std::to_wstring(misc)) << "as the control answers";
  EXPECT_EQ(MachineClassValue(clsid + L"\\VersionIndependentProgID", nullptr), contract::kProgId);
  EXPECT_EQ(MachineClassValue(contract::kProgId + std::wstring(L"\\CurVer"), nullptr), versioned);
  EXPECT_EQ(MachineClassValue(versioned + L"\\CLSID", nullptr), common::GuidText(CLSID_Traylume));
  std::vector<std::wstring> markers = {L"\\Control", L"\\Programmable"};
  for (const GUID& category : {CATID_Control, CATID_Programmable, CATID_SafeForInitializing}) {
    markers.push_back(L"\\Implemented Categories\\" + common::GuidText(category));
  }
  for (const std::wstring& marker : markers) {
    common::UniqueRegKey key;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + clsid + marker).c_str(), 0, KEY_READ,
                              key.put()), ERROR_SUCCESS) << common::Utf8(marker);
  }
  CLSID found = CLSID_NULL;
  EXPECT_EQ(::CLSIDFromProgID(contract::kProgId, &found), S_OK);
  EXPECT_EQ(found, CLSID_Traylume);
  common::ComPtr<IUnknown> registered;
  EXPECT_EQ(::CoCreateInstance(CLSID_Traylume, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, registered.put_void()), S_OK);
}

// The toolbox picture: a 16 x 16 bitmap of the file the value names.
TEST_F(RegistrationTest, TheToolboxBitmapIsASixteenPixelSquareInTheControlsFile) {
  ASSERT_EQ(support::RegisterControl(), S_OK);
  const std::wstring toolbox = MachineClassValue(clsid + L"\\ToolboxBitmap32", nullptr);
  const size_t comma = toolbox.rfind(L", ");
  ASSERT_NE(comma, std::wstring::npos) << common::Utf8(toolbox);
  EXPECT_EQ(toolbox.substr(0, comma), support::ControlPath());
  common::UniqueModule file(::LoadLibraryExW(toolbox.substr(0, comma).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  const int resource = std::stoi(toolbox.substr(comma + 2));
  const HANDLE loaded = ::LoadImageW(file.get(), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, 0);
  common::UniqueBitmap picture(static_cast<HBITMAP>(loaded));
  BITMAP size{};
  ASSERT_TRUE(::GetObjectW(picture.get(), sizeof(size), &size));
  EXPECT_EQ(size.bmWidth, 16);
  EXPECT_EQ(size.bmHeight, 16);
}

// The other platform's control, registered beside this one, keeps its type
// library entry (the key is one for both registry views).
TEST_F(RegistrationTest, UnregistrationTakesTheClassAwayAndLeavesTheOtherPlatformsTypeLibrary) {
  ASSERT_EQ(support::RegisterControl(), S_OK);
  const std::wstring other = typeLib + (sizeof(void*) == 8 ? L"\\1.0\\0\\win32" : L"\\1.0\\0\\win64");
  ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + other).c_str(), nullptr, REG_SZ, L"X", 4),
            ERROR_SUCCESS);
  ASSERT_EQ(support::UnregisterControl(), S_OK);
  EXPECT_EQ(MachineClassValue(other, nullptr), L"X");
  CLSID found = CLSID_NULL;
  EXPECT_EQ(::CLSIDFromProgID(contract::kProgId, &found), CO_E_CLASSSTRING);
  EXPECT_EQ(MachineClassValue(clsid + L"\\InprocServer32", nullptr).rfind(L"<error", 0), 0u) << "the class is left";
}

// What each flag tells a form (OLEMISC in the Windows documentation),
// held against what the control does.
TEST_F(ServerTest, AFormHostLearnsItIsInvisibleWantsItsSiteFirstAndIsNeverActivated) {
  common::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(&ole), S_OK);
  DWORD misc = 0;
  ASSERT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  EXPECT_TRUE(misc & OLEMISC_INVISIBLEATRUNTIME) << "it draws nothing on a running form";
  EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST) << "its saved state is loaded after it knows UserMode";
  EXPECT_TRUE(misc & OLEMISC_NOUIACTIVATE) << "it refuses UI activation";
  EXPECT_FALSE(misc & OLEMISC_ACTIVATEWHENVISIBLE) << "it refuses in-place activation";
  EXPECT_FALSE(misc & OLEMISC_INSIDEOUT) << "it refuses in-place activation";
}

TEST_F(ServerTest, AnExtentIsNeverNegative) {
  common::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(&ole), S_OK);
  const auto before = State(control.get());
  for (SIZEL negative : {SIZEL{-1, 10}, SIZEL{10, -1}}) EXPECT_EQ(ole->SetExtent(DVASPECT_CONTENT, &negative), E_INVALIDARG);
  EXPECT_EQ(State(control.get()), before);
}

TEST_F(ServerTest, CloseTakesTheIconAway) {
  common::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(&ole), S_OK);
  ASSERT_EQ(support::Call(control.get(), contract::dispid::kShowIcon).hr, S_OK);
  EXPECT_EQ(ole->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_DELETE));
}

}  // namespace
}  // namespace traylume_tests
