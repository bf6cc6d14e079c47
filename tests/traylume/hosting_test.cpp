// What a form host relies on: one COM identity, IOleObject's client site,
// extent, misc status and Close, and the class info naming the class and
// its default event interface.

#include <gtest/gtest.h>

#include <ocidl.h>
#include <ole2.h>

#include "common/com_object.h"
#include "tests/traylume/control_fixture.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

using HostingTest = ControlTest;

// A client site that counts SaveObject calls.
class RecordingSite final : public common::ComObject<IOleClientSite> {
 public:
  int saves = 0;
  STDMETHODIMP SaveObject() override {
    ++saves;
    return S_OK;
  }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
};

// An advise sink that counts OnClose.
class RecordingAdviseSink final : public common::ComObject<IAdviseSink> {
 public:
  int closes = 0;
  STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
  STDMETHODIMP_(void) OnRename(IMoniker*) override {}
  STDMETHODIMP_(void) OnSave() override {}
  STDMETHODIMP_(void) OnClose() override { ++closes; }
};

common::ComPtr<IOleObject> OleObject(const common::ComPtr<IDispatch>& control) {
  common::ComPtr<IOleObject> object;
  control.As(&object);
  return object;
}

TEST_F(HostingTest, EveryInterfaceLeadsToTheSameObject) {
  common::ComPtr<IUnknown> identity;
  ASSERT_EQ(control_.As(&identity), S_OK);
  const IID interfaces[] = {IID_IDispatch,         DIID_ITraylume,          IID_IProvideClassInfo,
                            IID_IProvideClassInfo2, IID_IConnectionPointContainer, IID_IPersist,
                            IID_IPersistPropertyBag, IID_IPersistStreamInit, IID_IOleObject,
                            IID_ISupportErrorInfo};
  for (const IID& iid : interfaces) {
    common::ComPtr<IUnknown> answer;
    ASSERT_EQ(control_.As(iid, &answer), S_OK);
    common::ComPtr<IUnknown> back;
    ASSERT_EQ(answer.As(&back), S_OK);
    EXPECT_EQ(back.get(), identity.get());
  }
  common::ComPtr<IUnknown> none;
  EXPECT_EQ(control_.As(IID_IOleInPlaceObject, &none), E_NOINTERFACE);
  EXPECT_EQ(control_.As(DIID_ITraylumeEvents, &none), E_NOINTERFACE);

  // Persistence and the OLE object name the control's class.
  CLSID clsid{};
  common::ComPtr<IPersist> persist;
  ASSERT_EQ(control_.As(&persist), S_OK);
  ASSERT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_Traylume);
  clsid = CLSID_NULL;
  ASSERT_EQ(OleObject(control_)->GetUserClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_Traylume);
}

TEST_F(HostingTest, MiscStatusClientSiteAndExtent) {
  auto object = OleObject(control_);
  DWORD status = 0;
  ASSERT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_TRUE(status & OLEMISC_INVISIBLEATRUNTIME);
  EXPECT_TRUE(status & OLEMISC_SETCLIENTSITEFIRST);

  auto site = common::make<RecordingSite>();
  ASSERT_EQ(object->SetClientSite(site.get()), S_OK);
  common::ComPtr<IOleClientSite> kept;
  ASSERT_EQ(object->GetClientSite(kept.put()), S_OK);
  EXPECT_EQ(kept.get(), site.get());
  ASSERT_EQ(object->SetClientSite(nullptr), S_OK);
  ASSERT_EQ(object->GetClientSite(kept.put()), S_OK);
  EXPECT_FALSE(kept);

  SIZEL size{};
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &size), S_OK);
  EXPECT_EQ(size.cx, 847);
  EXPECT_EQ(size.cy, 847);
  SIZEL bigger{2000, 1000};
  ASSERT_EQ(object->SetExtent(DVASPECT_CONTENT, &bigger), S_OK);
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &size), S_OK);
  EXPECT_EQ(size.cx, 2000);
  EXPECT_EQ(size.cy, 1000);
  EXPECT_EQ(object->GetExtent(DVASPECT_ICON, &size), DV_E_DVASPECT);
  EXPECT_EQ(object->SetExtent(DVASPECT_THUMBNAIL, &bigger), DV_E_DVASPECT);
}

TEST_F(HostingTest, CloseTellsAdviseSinksAndSavesADirtyControlOnlyWhenAsked) {
  auto site = common::make<RecordingSite>();
  auto sink = common::make<RecordingAdviseSink>();
  auto object = OleObject(control_);
  object->SetClientSite(site.get());
  DWORD connection = 0;
  ASSERT_EQ(object->Advise(sink.get(), &connection), S_OK);
  ASSERT_EQ(object->Close(OLECLOSE_SAVEIFDIRTY), S_OK);
  EXPECT_EQ(site->saves, 0) << "nothing changed";
  EXPECT_EQ(sink->closes, 1);
  SIZEL size{100, 100};
  object->SetExtent(DVASPECT_CONTENT, &size);
  ASSERT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(site->saves, 0);
  ASSERT_EQ(object->Close(OLECLOSE_SAVEIFDIRTY), S_OK);
  EXPECT_EQ(site->saves, 1);
  ASSERT_EQ(object->Unadvise(connection), S_OK);
  object->SetClientSite(nullptr);
}

TEST_F(HostingTest, VerbsOfAnInvisibleControlDoNothingHarmful) {
  auto object = OleObject(control_);
  EXPECT_EQ(object->DoVerb(OLEIVERB_SHOW, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(object->DoVerb(5, nullptr, nullptr, 0, nullptr, nullptr), OLEOBJ_S_INVALIDVERB);
  EXPECT_TRUE(shell_->calls.empty()) << "no verb shows the icon";
}

TEST_F(HostingTest, ClassInfoNamesTheClassAndItsDefaultEventInterface) {
  common::ComPtr<IProvideClassInfo2> info;
  ASSERT_EQ(control_.As(&info), S_OK);
  GUID events{};
  ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  EXPECT_EQ(events, DIID_ITraylumeEvents);
  EXPECT_EQ(info->GetGUID(12345, &events), E_INVALIDARG);

  common::ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(info->GetClassInfo(coclass.put()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, CLSID_Traylume);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  coclass->ReleaseTypeAttr(attr);
}

}  // namespace
}  // namespace traylume_tests
