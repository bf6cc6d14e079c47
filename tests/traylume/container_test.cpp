// The control in a test container, as form designers host it: it draws its
// icon, its view sink hears when the icon changes, activation is refused
// without a word to the site, its UserMode ambient keeps it out of the shell
// at design time, and its safety mark is per interface.
#include <gtest/gtest.h>

#include <comcat.h>

#include "common/com_object.h"
#include "common/interface_ids.h"
#include "common/unique_handle.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/pictures.h"
#include "tests/traylume/control_test.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

using namespace support;
namespace dispid = contract::dispid;
using ContainerTest = ControlTest;

struct ViewSink final : common::ComObject<IAdviseSink> {
  std::vector<DWORD> changes;  // the aspects told to have changed
  STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  STDMETHODIMP_(void) OnViewChange(DWORD aspect, LONG) override { changes.push_back(aspect); }
  STDMETHODIMP_(void) OnRename(IMoniker*) override {}
  STDMETHODIMP_(void) OnSave() override {}
  STDMETHODIMP_(void) OnClose() override {}
};

// A client site whose ambient dispatch answers UserMode; it writes down
// every interface it is asked for that it does not have.
struct Site final : common::ComObject<IOleClientSite, IDispatch> {
  bool userMode = true;
  std::vector<IID> asked;
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
    if (id != DISPID_AMBIENT_USERMODE || !result) return DISP_E_MEMBERNOTFOUND;
    *result = Bool(userMode);
    return S_OK;
  }
  void* QueryExtra(REFIID iid) override {
    asked.push_back(iid);
    return nullptr;
  }
};

TEST_F(ContainerTest, ItDrawsItsIconIntoTheContainersDeviceContext) {
  const auto picture = SolidIconPicture(RGB(0, 150, 0), 32);
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  common::ComPtr<IViewObject2> view;
  ASSERT_EQ(control.As(&view), S_OK);
  common::WindowDc screen(nullptr);
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  common::UniqueBitmap canvas(::CreateCompatibleBitmap(screen.get(), 32, 32));
  common::SelectedObject selected(dc.get(), canvas.get());
  const RECTL bounds{0, 0, 32, 32};
  for (DWORD aspect : {DVASPECT_CONTENT, DVASPECT_ICON}) {
    const RECT all{0, 0, 32, 32};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ASSERT_EQ(view->Draw(aspect, -1, nullptr, nullptr, nullptr, dc.get(), &bounds, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(::GetPixel(dc.get(), 16, 16), RGB(0, 150, 0)) << aspect;
  }
  SIZEL drawn{};
  SIZEL onForm{};
  common::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(&ole), S_OK);
  ASSERT_EQ(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &drawn), S_OK);
  ASSERT_EQ(ole->GetExtent(DVASPECT_CONTENT, &onForm), S_OK);
  EXPECT_EQ(drawn.cx, onForm.cx);
  EXPECT_EQ(drawn.cy, onForm.cy);
}

TEST_F(ContainerTest, TheViewSinkHearsWhenTheIconChanges) {
  common::ComPtr<IViewObject2> view;
  ASSERT_EQ(control.As(&view), S_OK);
  auto sink = common::make<ViewSink>();
  ASSERT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, sink.get()), S_OK);
  const auto picture = SolidIconPicture(RGB(0, 0, 150));
  ASSERT_EQ(Put(control.get(), dispid::kIcon, Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  EXPECT_EQ(sink->changes, std::vector<DWORD>{DVASPECT_CONTENT});
  ASSERT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, nullptr), S_OK);
}

// Nothing to show on a form, and never active in place: the control says so.
TEST_F(ContainerTest, ActivationIsRefusedAndTheSiteIsNeverAskedToActivateIt) {
  common::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(&ole), S_OK);
  auto site = common::make<Site>();
  ASSERT_EQ(ole->SetClientSite(site.get()), S_OK);
  const std::pair<LONG, HRESULT> verbs[] = {{OLEIVERB_INPLACEACTIVATE, OLE_E_NOT_INPLACEACTIVE},
                                            {OLEIVERB_UIACTIVATE, OLE_E_NOT_INPLACEACTIVE},
                                            {OLEIVERB_SHOW, OLEOBJ_S_CANNOT_DOVERB_NOW},
                                            {OLEIVERB_HIDE, S_OK}};
  for (const auto& [verb, answer] : verbs) {
    EXPECT_EQ(ole->DoVerb(verb, nullptr, site.get(), 0, nullptr, nullptr), answer) << verb;
  }
  for (const IID& iid : site->asked) {
    EXPECT_NE(iid, IID_IOleInPlaceSite) << "activation began all the same";
  }
  ASSERT_EQ(ole->SetClientSite(nullptr), S_OK);
}

TEST_F(ContainerTest, OnAFormBeingDesignedNothingReachesTheShell) {
  common::ComPtr<IOleObject> ole;
  common::ComPtr<IOleControl> oleControl;
  ASSERT_EQ(control.As(&ole), S_OK);
  ASSERT_EQ(control.As(&oleControl), S_OK);
  auto site = common::make<Site>();
  site->userMode = false;
  ASSERT_EQ(ole->SetClientSite(site.get()), S_OK);
  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  EXPECT_TRUE(shell.calls.empty());
  site->userMode = true;
  ASSERT_EQ(oleControl->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE), S_OK);
  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].message, static_cast<DWORD>(NIM_ADD));
  ASSERT_EQ(ole->SetClientSite(nullptr), S_OK);
}

TEST_F(ContainerTest, ItIsSafeToInitialiseFromUntrustedDataButNotToScript) {
  common::ComPtr<IObjectSafety> safety;
  ASSERT_EQ(control.As(&safety), S_OK);
  const std::pair<IID, DWORD> interfaces[] = {{IID_IPersistPropertyBag, INTERFACESAFE_FOR_UNTRUSTED_DATA},
                                              {IID_IPersistStreamInit, INTERFACESAFE_FOR_UNTRUSTED_DATA},
                                              {DIID_ITraylume, 0}};
  for (const auto& [iid, safe] : interfaces) {
    DWORD supported = ~0u;
    DWORD enabled = ~0u;
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(iid, &supported, &enabled), S_OK);
    EXPECT_EQ(supported, safe);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(iid, INTERFACESAFE_FOR_UNTRUSTED_CALLER,
                                                INTERFACESAFE_FOR_UNTRUSTED_CALLER),
              E_FAIL);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(iid, INTERFACESAFE_FOR_UNTRUSTED_DATA, INTERFACESAFE_FOR_UNTRUSTED_DATA),
              safe ? S_OK : E_FAIL);
  }
}

}  // namespace
}  // namespace traylume_tests
