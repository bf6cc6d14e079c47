// The control answers on the thread that made it: every other thread is
// refused, and changes nothing.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "common/bstr.h"
#include "common/interface_ids.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/traylume/control_test.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

using namespace support;
namespace dispid = contract::dispid;
using ThreadsTest = ControlTest;

TEST_F(ThreadsTest, EveryCallFromAnotherThreadIsRefusedAndChangesNothing) {
  common::ComPtr<IProvideClassInfo2> classInfo;
  common::ComPtr<IConnectionPointContainer> container;
  common::ComPtr<IPersistStreamInit> stream;
  common::ComPtr<IPersistPropertyBag> bag;
  common::ComPtr<IOleObject> ole;
  common::ComPtr<ISupportErrorInfo> errorInfo;
  common::ComPtr<IViewObject2> view;
  common::ComPtr<IOleControl> oleControl;
  common::ComPtr<IObjectSafety> safety;
  ASSERT_EQ(control.As(&classInfo), S_OK);
  ASSERT_EQ(control.As(&container), S_OK);
  ASSERT_EQ(control.As(&stream), S_OK);
  ASSERT_EQ(control.As(&bag), S_OK);
  ASSERT_EQ(control.As(&ole), S_OK);
  ASSERT_EQ(control.As(&errorInfo), S_OK);
  ASSERT_EQ(control.As(&view), S_OK);
  ASSERT_EQ(control.As(&oleControl), S_OK);
  ASSERT_EQ(control.As(&safety), S_OK);
  const RECTL bounds{0, 0, 16, 16};
  DWORD safetyOptions = 0;
  const common::ComPtr<IConnectionPoint> point = EventPointOf(control);
  ASSERT_TRUE(point);
  const auto before = State(control.get());
  common::UniqueBstr tip(L"別のスレッド");
  VARIANT tipValue = Text(tip.get());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put{&tipValue, &named, 1, 1};
  DISPPARAMS none{};
  LPOLESTR name = const_cast<LPOLESTR>(L"ShowIcon");
  DISPID id = 0;
  UINT count = 0;
  SIZEL extent{10, 10};
  const std::pair<const char*, std::function<HRESULT()>> calls[] = {
      {"GetTypeInfoCount", [&] { return control->GetTypeInfoCount(&count); }},
      {"GetTypeInfo", [&] { return control->GetTypeInfo(0, 0, nullptr); }},
      {"GetIDsOfNames", [&] { return control->GetIDsOfNames(IID_NULL, &name, 1, 0, &id); }},
      {"Invoke a put", [&] { return control->Invoke(dispid::kToolTipText, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr); }},
      {"Invoke ShowIcon", [&] { return control->Invoke(dispid::kShowIcon, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr); }},
      {"GetClassInfo", [&] { return classInfo->GetClassInfo(nullptr); }},
      {"GetGUID", [&] { return classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, nullptr); }},
      {"EnumConnectionPoints", [&] { return container->EnumConnectionPoints(nullptr); }},
      {"FindConnectionPoint", [&] { return container->FindConnectionPoint(DIID_ITraylumeEvents, nullptr); }},
      {"GetConnectionInterface", [&] { return point->GetConnectionInterface(nullptr); }},
      {"GetConnectionPointContainer", [&] { return point->GetConnectionPointContainer(nullptr); }},
      {"Advise", [&] { return point->Advise(control.get(), nullptr); }},
      {"Unadvise", [&] { return point->Unadvise(1); }},
      {"EnumConnections", [&] { return point->EnumConnections(nullptr); }},
      {"GetClassID", [&] { return stream->GetClassID(nullptr); }},
      {"IsDirty", [&] { return stream->IsDirty(); }},
      {"InitNew", [&] { return stream->InitNew(); }},
      {"Load a stream", [&] { return stream->Load(nullptr); }},
      {"Save a stream", [&] { return stream->Save(nullptr, TRUE); }},
      {"GetSizeMax", [&] { return stream->GetSizeMax(nullptr); }},
      {"Load a bag", [&] { return bag->Load(nullptr, nullptr); }},
      {"Save a bag", [&] { return bag->Save(nullptr, TRUE, TRUE); }},
      {"SetClientSite", [&] { return ole->SetClientSite(nullptr); }},
      {"GetClientSite", [&] { return ole->GetClientSite(nullptr); }},
      {"SetHostNames", [&] { return ole->SetHostNames(L"", L""); }},
      {"Close", [&] { return ole->Close(OLECLOSE_NOSAVE); }},
      {"SetMoniker", [&] { return ole->SetMoniker(OLEWHICHMK_OBJREL, nullptr); }},
      {"GetMoniker", [&] { return ole->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_OBJREL, nullptr); }},
      {"InitFromData", [&] { return ole->InitFromData(nullptr, FALSE, 0); }},
      {"GetClipboardData", [&] { return ole->GetClipboardData(0, nullptr); }},
      {"DoVerb", [&] { return ole->DoVerb(OLEIVERB_SHOW, nullptr, nullptr, 0, nullptr, nullptr); }},
      {"EnumVerbs", [&] { return ole->EnumVerbs(nullptr); }},
      {"Update", [&] { return ole->Update(); }},
      {"IsUpToDate", [&] { return ole->IsUpToDate(); }},
      {"GetUserClassID", [&] { return ole->GetUserClassID(nullptr); }},
      {"GetUserType", [&] { return ole->GetUserType(USERCLASSTYPE_FULL, nullptr); }},
      {"SetExtent", [&] { return ole->SetExtent(DVASPECT_CONTENT, &extent); }},
      {"GetExtent", [&] { return ole->GetExtent(DVASPECT_CONTENT, nullptr); }},
      {"Advise a sink", [&] { return ole->Advise(nullptr, nullptr); }},
      {"Unadvise a sink", [&] { return ole->Unadvise(1); }},
      {"EnumAdvise", [&] { return ole->EnumAdvise(nullptr); }},
      {"GetMiscStatus", [&] { return ole->GetMiscStatus(DVASPECT_CONTENT, nullptr); }},
      {"SetColorScheme", [&] { return ole->SetColorScheme(nullptr); }},
      {"InterfaceSupportsErrorInfo", [&] { return errorInfo->InterfaceSupportsErrorInfo(IID_IDispatch); }},
      {"Draw", [&] { return view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr, &bounds, nullptr, nullptr, 0); }},
      {"GetColorSet", [&] { return view->GetColorSet(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr); }},
      {"Freeze", [&] { return view->Freeze(DVASPECT_CONTENT, -1, nullptr, nullptr); }},
      {"Unfreeze", [&] { return view->Unfreeze(0); }},
      {"SetAdvise", [&] { return view->SetAdvise(DVASPECT_CONTENT, 0, nullptr); }},
      {"GetAdvise", [&] { return view->GetAdvise(nullptr, nullptr, nullptr); }},
      {"GetExtent of the view", [&] { return view->GetExtent(DVASPECT_CONTENT, -1, nullptr, nullptr); }},
      {"GetControlInfo", [&] { return oleControl->GetControlInfo(nullptr); }},
      {"OnMnemonic", [&] { return oleControl->OnMnemonic(nullptr); }},
      {"OnAmbientPropertyChange", [&] { return oleControl->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE); }},
      {"FreezeEvents", [&] { return oleControl->FreezeEvents(TRUE); }},
      {"GetInterfaceSafetyOptions", [&] { return safety->GetInterfaceSafetyOptions(IID_IDispatch, &safetyOptions, &safetyOptions); }},
      {"SetInterfaceSafetyOptions", [&] { return safety->SetInterfaceSafetyOptions(IID_IPersistStreamInit, 0, 0); }},
  };
  std::vector<HRESULT> answers;
  std::thread([&] {
    for (const auto& call : calls) answers.push_back(call.second());
  }).join();
  ASSERT_EQ(answers.size(), std::size(calls));
  for (size_t i = 0; i < answers.size(); ++i) EXPECT_EQ(answers[i], RPC_E_WRONG_THREAD) << calls[i].first;
  EXPECT_EQ(State(control.get()), before);
  EXPECT_EQ(stream->IsDirty(), S_FALSE);
  EXPECT_TRUE(shell.calls.empty());
}

TEST_F(ThreadsTest, TheLastReleaseOnAnotherThreadStillTakesTheIconAndItsWindowAway) {
  ASSERT_EQ(Call(control.get(), dispid::kShowIcon).hr, S_OK);
  std::thread([&] { control.reset(); }).join();
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(TrayWindow()); })) << "the window outlives its control";
}

}  // namespace
}  // namespace traylume_tests
