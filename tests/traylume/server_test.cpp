// Traylume.ocx as a COM server: its class factory and server lock, its
// registration, and what a form host asks of it through IOleObject.
#include <gtest/gtest.h>

#include <string>

#include "common/module.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/traylume/control_test.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

using ServerTest = ControlTest;

std::wstring RegistryText(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t value[512] = {};
  DWORD bytes = sizeof(value) - sizeof(wchar_t);
  const std::wstring path = L"Software\\Classes\\" + key;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return value;
}

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

TEST_F(ServerTest, RegistrationWritesTheClassItsProgIdsAndTypeLibraryAndTakesThemAway) {
  const std::wstring clsid = common::GuidText(CLSID_Traylume);
  const std::wstring progId = contract::kProgId;
  ASSERT_EQ(support::RegisterControl(), S_OK);
  EXPECT_EQ(RegistryText(L"CLSID\\" + clsid + L"\\InprocServer32"), support::ControlPath());
  EXPECT_EQ(RegistryText(L"CLSID\\" + clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(RegistryText(L"CLSID\\" + clsid + L"\\VersionIndependentProgID"), progId);
  EXPECT_EQ(RegistryText(progId + L"\\CLSID"), clsid);
  const std::wstring versioned = RegistryText(progId + L"\\CurVer");
  EXPECT_EQ(RegistryText(versioned + L"\\CLSID"), clsid);
  EXPECT_EQ(RegistryText(L"CLSID\\" + clsid + L"\\ProgID"), versioned);
  const std::wstring library = RegistryText(L"CLSID\\" + clsid + L"\\TypeLib");
  EXPECT_EQ(library, common::GuidText(LIBID_TraylumeControl));
  const std::wstring platform = sizeof(void*) == 8 ? L"\\1.0\\0\\win64" : L"\\1.0\\0\\win32";
  EXPECT_EQ(RegistryText(L"TypeLib\\" + library + platform), support::ControlPath());
  CLSID found = CLSID_NULL;
  EXPECT_EQ(::CLSIDFromProgID(contract::kProgId, &found), S_OK);
  EXPECT_EQ(found, CLSID_Traylume);

  ASSERT_EQ(support::UnregisterControl(), S_OK);
  for (const std::wstring& key : {L"CLSID\\" + clsid + L"\\InprocServer32", progId + L"\\CLSID",
                                  versioned + L"\\CLSID", L"TypeLib\\" + library + platform}) {
    EXPECT_EQ(RegistryText(key), L"<none>") << common::Utf8(key);
  }
}

TEST_F(ServerTest, AFormHostLearnsItIsInvisibleWantsItsSiteFirstAndCloseTakesTheIconAway) {
  common::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(&ole), S_OK);
  DWORD misc = 0;
  ASSERT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  EXPECT_TRUE(misc & OLEMISC_INVISIBLEATRUNTIME);
  EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);
  SIZEL size{-1, 10};
  EXPECT_EQ(ole->SetExtent(DVASPECT_CONTENT, &size), E_INVALIDARG);
  size = {500, 400};
  EXPECT_EQ(ole->SetExtent(DVASPECT_CONTENT, &size), S_OK);
  SIZEL read{};
  EXPECT_EQ(ole->GetExtent(DVASPECT_CONTENT, &read), S_OK);
  EXPECT_EQ(read.cx, 500);
  EXPECT_EQ(read.cy, 400);

  ASSERT_EQ(support::Call(control.get(), contract::dispid::kShowIcon).hr, S_OK);
  EXPECT_EQ(ole->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_DELETE));
}

}  // namespace
}  // namespace traylume_tests
