// The control as an automation client sees it: names, dispatch ids and
// types, initial values, get and let with the coercions clients rely on,
// and the error codes of wrong calls.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/bstr.h"
#include "component/dispids.h"
#include "tests/traylume/automation.h"
#include "tests/traylume/control_fixture.h"
#include "tests/traylume/recording_sink.h"
#include "tests/traylume/test_pictures.h"
#include "traylume/user_texts.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

namespace dispid = traylume::dispid;
using AutomationTest = ControlTest;

struct MemberRow {
  const wchar_t* name;
  DISPID id;
};

constexpr MemberRow kMembers[] = {
    {L"BalloonSupported", dispid::kBalloonSupported}, {L"BalloonText", dispid::kBalloonText},
    {L"AutoRefresh", dispid::kAutoRefresh},           {L"BalloonSound", dispid::kBalloonSound},
    {L"Balloon", dispid::kBalloon},                   {L"BalloonTitle", dispid::kBalloonTitle},
    {L"ToolTipText", dispid::kToolTipText},           {L"BalloonIcon", dispid::kBalloonIcon},
    {L"Icon", dispid::kIcon},                         {L"Refresh", dispid::kRefresh},
    {L"ShowIcon", dispid::kShowIcon},                 {L"HideIcon", dispid::kHideIcon},
};

DISPID IdOf(IDispatch* control, std::wstring name, HRESULT* result = nullptr) {
  LPOLESTR names[] = {name.data()};
  DISPID id = 12345;
  const HRESULT hr = control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (result) *result = hr;
  return id;
}

std::wstring Upper(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(towupper(c));
  return text;
}

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

TEST_F(AutomationTest, NamesAnswerTheirDispatchIdsWhateverTheCase) {
  for (const MemberRow& member : kMembers) {
    SCOPED_TRACE(std::string(member.name, member.name + wcslen(member.name)));
    HRESULT hr = E_FAIL;
    EXPECT_EQ(IdOf(control_.get(), member.name, &hr), member.id);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(IdOf(control_.get(), Upper(member.name)), member.id);
    EXPECT_EQ(IdOf(control_.get(), Lower(member.name)), member.id);
  }
}

TEST_F(AutomationTest, UnknownNamesAndParameterNamesAreUnknown) {
  HRESULT hr = S_OK;
  EXPECT_EQ(IdOf(control_.get(), L"Visible", &hr), DISPID_UNKNOWN);
  EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);

  std::wstring method = L"ShowIcon", parameter = L"Button";
  LPOLESTR names[] = {method.data(), parameter.data()};
  DISPID ids[2] = {0, 0};
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], dispid::kShowIcon);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);

  EXPECT_EQ(control_->GetIDsOfNames(IID_IDispatch, names, 1, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNINTERFACE);
}

// One row per FUNCDESC of the dispinterface: what a type-library reader
// (a form designer, an object browser) learns about each member.
struct DescribedMember {
  std::wstring name;
  DISPID id;
  INVOKEKIND kind;
  VARTYPE type;  // the value: return type of a get, parameter of a put
  bool operator==(const DescribedMember& o) const {
    return name == o.name && id == o.id && kind == o.kind && type == o.type;
  }
};

std::ostream& operator<<(std::ostream& out, const DescribedMember& m) {
  return out << std::string(m.name.begin(), m.name.end()) << " id=0x" << std::hex << m.id << std::dec
             << " kind=" << m.kind << " vt=" << m.type;
}

// VT_DISPATCH for a pointer to the picture interface (stdole's
// IPictureDisp, an alias of its Picture dispinterface), else the VARTYPE.
VARTYPE ValueType(ITypeInfo* info, const TYPEDESC& type) {
  if (type.vt != VT_PTR || !type.lptdesc || type.lptdesc->vt != VT_USERDEFINED) return type.vt;
  common::ComPtr<ITypeInfo> referenced;
  if (FAILED(info->GetRefTypeInfo(type.lptdesc->hreftype, referenced.put()))) return VT_USERDEFINED;
  for (int depth = 0; depth < 4; ++depth) {
    TYPEATTR* attr = nullptr;
    if (FAILED(referenced->GetTypeAttr(&attr))) return VT_USERDEFINED;
    const GUID guid = attr->guid;
    const TYPEKIND kind = attr->typekind;
    const TYPEDESC alias = attr->tdescAlias;
    referenced->ReleaseTypeAttr(attr);
    if (guid == IID_IPictureDisp) return VT_DISPATCH;
    if (kind != TKIND_ALIAS || alias.vt != VT_USERDEFINED) return VT_USERDEFINED;
    common::ComPtr<ITypeInfo> next;
    if (FAILED(referenced->GetRefTypeInfo(alias.hreftype, next.put()))) return VT_USERDEFINED;
    referenced = next;
  }
  return VT_USERDEFINED;
}

TEST_F(AutomationTest, TypeInfoDescribesEachMemberWithItsIdAndType) {
  UINT count = 0;
  ASSERT_EQ(control_->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  common::ComPtr<ITypeInfo> info;
  EXPECT_EQ(control_->GetTypeInfo(1, 0, info.put()), DISP_E_BADINDEX);
  ASSERT_EQ(control_->GetTypeInfo(0, 0, info.put()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, DIID_ITraylume);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  const WORD functions = attr->cFuncs;
  info->ReleaseTypeAttr(attr);

  std::vector<DescribedMember> described;
  for (WORD i = 0; i < functions; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
    if (function->memid < 0x60000000 || function->memid >= 0x60010000) {  // not IDispatch's own
      common::UniqueBstr name;
      UINT names = 0;
      info->GetNames(function->memid, name.put(), 1, &names);
      VARTYPE type = ValueType(info.get(), function->elemdescFunc.tdesc);
      if (function->invkind != INVOKE_PROPERTYGET && function->cParams == 1) {
        type = ValueType(info.get(), function->lprgelemdescParam[0].tdesc);
      }
      described.push_back({name.str(), function->memid, function->invkind, type});
    }
    info->ReleaseFuncDesc(function);
  }
  const std::vector<DescribedMember> expected = {
      {L"BalloonSupported", dispid::kBalloonSupported, INVOKE_PROPERTYGET, VT_BOOL},
      {L"BalloonText", dispid::kBalloonText, INVOKE_PROPERTYGET, VT_BSTR},
      {L"BalloonText", dispid::kBalloonText, INVOKE_PROPERTYPUT, VT_BSTR},
      {L"AutoRefresh", dispid::kAutoRefresh, INVOKE_PROPERTYGET, VT_BOOL},
      {L"AutoRefresh", dispid::kAutoRefresh, INVOKE_PROPERTYPUT, VT_BOOL},
      {L"BalloonSound", dispid::kBalloonSound, INVOKE_PROPERTYGET, VT_BOOL},
      {L"BalloonSound", dispid::kBalloonSound, INVOKE_PROPERTYPUT, VT_BOOL},
      {L"Balloon", dispid::kBalloon, INVOKE_PROPERTYGET, VT_BOOL},
      {L"Balloon", dispid::kBalloon, INVOKE_PROPERTYPUT, VT_BOOL},
      {L"BalloonTitle", dispid::kBalloonTitle, INVOKE_PROPERTYGET, VT_BSTR},
      {L"BalloonTitle", dispid::kBalloonTitle, INVOKE_PROPERTYPUT, VT_BSTR},
      {L"ToolTipText", dispid::kToolTipText, INVOKE_PROPERTYGET, VT_BSTR},
      {L"ToolTipText", dispid::kToolTipText, INVOKE_PROPERTYPUT, VT_BSTR},
      {L"BalloonIcon", dispid::kBalloonIcon, INVOKE_PROPERTYGET, VT_I4},
      {L"BalloonIcon", dispid::kBalloonIcon, INVOKE_PROPERTYPUT, VT_I4},
      {L"Icon", dispid::kIcon, INVOKE_PROPERTYGET, VT_DISPATCH},
      {L"Icon", dispid::kIcon, INVOKE_PROPERTYPUT, VT_DISPATCH},
      {L"Icon", dispid::kIcon, INVOKE_PROPERTYPUTREF, VT_DISPATCH},
      {L"Refresh", dispid::kRefresh, INVOKE_FUNC, VT_VOID},
      {L"ShowIcon", dispid::kShowIcon, INVOKE_FUNC, VT_VOID},
      {L"HideIcon", dispid::kHideIcon, INVOKE_FUNC, VT_VOID},
  };
  EXPECT_EQ(described, expected);
}

TEST_F(AutomationTest, PropertiesStartWithTheirInitialValues) {
  EXPECT_FALSE(GetBool(control_.get(), dispid::kAutoRefresh));
  EXPECT_FALSE(GetBool(control_.get(), dispid::kBalloon));
  EXPECT_TRUE(GetBool(control_.get(), dispid::kBalloonSound));
  EXPECT_EQ(GetLong(control_.get(), dispid::kBalloonIcon), 0);
  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), L"");
  EXPECT_EQ(GetText(control_.get(), dispid::kBalloonTitle), L"");
  EXPECT_EQ(GetText(control_.get(), dispid::kBalloonText), L"");
}

TEST_F(AutomationTest, BalloonSupportedIsTrueWhereTheShellShowsBalloons) {
  Outcome supported = Get(control_.get(), dispid::kBalloonSupported);
  ASSERT_EQ(supported.hr, S_OK);
  ASSERT_EQ(supported.value.type(), VT_BOOL);
  EXPECT_EQ(V_BOOL(supported.value.get()), VARIANT_TRUE);  // shell32 5.0 and later; Wine has 6
}

TEST_F(AutomationTest, IconBeforeAnyIsSetIsTheControlsOwnDrawableIcon) {
  Outcome icon = Get(control_.get(), dispid::kIcon);
  ASSERT_EQ(icon.hr, S_OK);
  ASSERT_EQ(icon.value.type(), VT_DISPATCH);
  auto* picture = static_cast<IPictureDisp*>(V_DISPATCH(icon.value.get()));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(PictureType(picture), PICTYPE_ICON);
  const auto centre = PictureCentreColor(picture);
  ASSERT_TRUE(centre.has_value());
  EXPECT_NE(*centre, RGB(0, 0, 0)) << "the default icon draws something";
  // The same picture each time.
  Outcome again = Get(control_.get(), dispid::kIcon);
  EXPECT_EQ(V_DISPATCH(again.value.get()), V_DISPATCH(icon.value.get()));
}

TEST_F(AutomationTest, PropertiesReadBackWhatWasLet) {
  common::UniqueBstr tip(L"ツールチップのテストです。"), title(L"タイトル"), text(L"本文\r\n二行目");
  ASSERT_EQ(Put(control_.get(), dispid::kToolTipText, Text(tip.get())).hr, S_OK);
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonTitle, Text(title.get())).hr, S_OK);
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonText, Text(text.get())).hr, S_OK);
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonIcon, I4(3)).hr, S_OK);
  ASSERT_EQ(Put(control_.get(), dispid::kBalloon, Bool(true)).hr, S_OK);
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonSound, Bool(false)).hr, S_OK);
  ASSERT_EQ(Put(control_.get(), dispid::kAutoRefresh, Bool(true)).hr, S_OK);

  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), L"ツールチップのテストです。");
  EXPECT_EQ(GetText(control_.get(), dispid::kBalloonTitle), L"タイトル");
  EXPECT_EQ(GetText(control_.get(), dispid::kBalloonText), L"本文\r\n二行目");
  EXPECT_EQ(GetLong(control_.get(), dispid::kBalloonIcon), 3);
  EXPECT_TRUE(GetBool(control_.get(), dispid::kBalloon));
  EXPECT_FALSE(GetBool(control_.get(), dispid::kBalloonSound));
  EXPECT_TRUE(GetBool(control_.get(), dispid::kAutoRefresh));
}

TEST_F(AutomationTest, GetAlsoAnswersAMethodStyleCall) {
  common::UniqueBstr tip(L"abc");
  Put(control_.get(), dispid::kToolTipText, Text(tip.get()));
  Outcome outcome = InvokeRaw(control_.get(), dispid::kToolTipText, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, false);
  ASSERT_EQ(outcome.hr, S_OK);
  EXPECT_EQ(std::wstring(V_BSTR(outcome.value.get())), L"abc");
}

TEST_F(AutomationTest, BooleansAcceptIntegersDoublesAndReferences) {
  ASSERT_EQ(Put(control_.get(), dispid::kAutoRefresh, I4(5)).hr, S_OK);
  EXPECT_TRUE(GetBool(control_.get(), dispid::kAutoRefresh));
  ASSERT_EQ(Put(control_.get(), dispid::kAutoRefresh, I2(0)).hr, S_OK);
  EXPECT_FALSE(GetBool(control_.get(), dispid::kAutoRefresh));
  ASSERT_EQ(Put(control_.get(), dispid::kBalloon, R8(1.0)).hr, S_OK);
  EXPECT_TRUE(GetBool(control_.get(), dispid::kBalloon));
  // A check box value of 1, as a program passes it when it does not convert.
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonSound, I2(1)).hr, S_OK);
  EXPECT_TRUE(GetBool(control_.get(), dispid::kBalloonSound));

  VARIANT_BOOL off = VARIANT_FALSE;
  VARIANT byReference;
  V_VT(&byReference) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&byReference) = &off;
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonSound, byReference).hr, S_OK);
  EXPECT_FALSE(GetBool(control_.get(), dispid::kBalloonSound));
}

TEST_F(AutomationTest, TextsAcceptNullStringsNumbersAndReferences) {
  common::UniqueBstr before(L"before");
  Put(control_.get(), dispid::kToolTipText, Text(before.get()));
  ASSERT_EQ(Put(control_.get(), dispid::kToolTipText, Text(nullptr)).hr, S_OK);
  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), L"");

  ASSERT_EQ(Put(control_.get(), dispid::kBalloonTitle, I4(42)).hr, S_OK);
  EXPECT_EQ(GetText(control_.get(), dispid::kBalloonTitle), L"42");

  common::UniqueBstr text(L"参照渡し");
  BSTR held = text.get();
  VARIANT byReference;
  V_VT(&byReference) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&byReference) = &held;
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonText, byReference).hr, S_OK);
  EXPECT_EQ(GetText(control_.get(), dispid::kBalloonText), L"参照渡し");
}

TEST_F(AutomationTest, BalloonIconAcceptsShortsStringsAndRoundsDoubles) {
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonIcon, I2(2)).hr, S_OK);
  EXPECT_EQ(GetLong(control_.get(), dispid::kBalloonIcon), 2);
  common::UniqueBstr three(L"3");
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonIcon, Text(three.get())).hr, S_OK);
  EXPECT_EQ(GetLong(control_.get(), dispid::kBalloonIcon), 3);
  ASSERT_EQ(Put(control_.get(), dispid::kBalloonIcon, R8(0.6)).hr, S_OK);
  EXPECT_EQ(GetLong(control_.get(), dispid::kBalloonIcon), 1);
}

TEST_F(AutomationTest, ValuesThatDoNotConvertAreRefusedAndChangeNothing) {
  Put(control_.get(), dispid::kBalloonIcon, I4(2));
  common::UniqueBstr word(L"abc");
  Outcome mismatch = Put(control_.get(), dispid::kBalloonIcon, Text(word.get()));
  EXPECT_EQ(mismatch.hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(mismatch.argError, 0u);
  Outcome overflow = Put(control_.get(), dispid::kBalloonIcon, R8(1e20));
  EXPECT_EQ(overflow.hr, DISP_E_OVERFLOW);
  EXPECT_EQ(overflow.argError, 0u);
  EXPECT_EQ(GetLong(control_.get(), dispid::kBalloonIcon), 2);

  Outcome boolean = Put(control_.get(), dispid::kBalloon, Text(word.get()));
  EXPECT_EQ(boolean.hr, DISP_E_TYPEMISMATCH);
  EXPECT_FALSE(GetBool(control_.get(), dispid::kBalloon));
}

TEST_F(AutomationTest, UnknownDispatchIdsAreMembersNotFound) {
  EXPECT_EQ(Get(control_.get(), 0x68030001).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Call(control_.get(), 0x60030012).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Get(control_.get(), DISPID_VALUE).hr, DISP_E_MEMBERNOTFOUND);
}

TEST_F(AutomationTest, BalloonSupportedCannotBeWritten) {
  EXPECT_EQ(Put(control_.get(), dispid::kBalloonSupported, Bool(false)).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_TRUE(GetBool(control_.get(), dispid::kBalloonSupported));
}

TEST_F(AutomationTest, MethodsTakeNoArgumentsAndAreNotProperties) {
  EXPECT_EQ(InvokeRaw(control_.get(), dispid::kRefresh, DISPATCH_METHOD, {I4(1)}, false).hr, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Put(control_.get(), dispid::kShowIcon, I4(1)).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Get(control_.get(), dispid::kHideIcon).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(InvokeRaw(control_.get(), dispid::kRefresh, DISPATCH_METHOD, {I4(1)}, true).hr, DISP_E_NONAMEDARGS);
  EXPECT_EQ(Call(control_.get(), dispid::kRefresh).hr, S_OK);
}

TEST_F(AutomationTest, PropertyGetWithArgumentsIsABadParameterCount) {
  EXPECT_EQ(InvokeRaw(control_.get(), dispid::kToolTipText, DISPATCH_PROPERTYGET, {I4(0)}, false).hr,
            DISP_E_BADPARAMCOUNT);
}

TEST_F(AutomationTest, PutNeedsExactlyOneValue) {
  EXPECT_EQ(InvokeRaw(control_.get(), dispid::kToolTipText, DISPATCH_PROPERTYPUT, {}, false).hr,
            DISP_E_PARAMNOTOPTIONAL);
  VARIANT missing;
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  EXPECT_EQ(Put(control_.get(), dispid::kToolTipText, missing).hr, DISP_E_PARAMNOTOPTIONAL);
  EXPECT_EQ(InvokeRaw(control_.get(), dispid::kToolTipText, DISPATCH_PROPERTYPUT, {I4(1), I4(2)}, true).hr,
            DISP_E_BADPARAMCOUNT);

  // A named argument other than the put value.
  VARIANT value = I4(1);
  DISPID named = 7;
  DISPPARAMS params{&value, &named, 1, 1};
  EXPECT_EQ(control_->Invoke(dispid::kToolTipText, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                             nullptr),
            DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), L"");
}

TEST_F(AutomationTest, OnlyTheIconIsSetByReference) {
  common::UniqueBstr tip(L"x");
  EXPECT_EQ(PutRef(control_.get(), dispid::kToolTipText, Text(tip.get())).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(GetText(control_.get(), dispid::kToolTipText), L"");
}

TEST_F(AutomationTest, InvokeForAnInterfaceOtherThanNullIsRefused) {
  DISPPARAMS none{};
  VARIANT result;
  ::VariantInit(&result);
  EXPECT_EQ(control_->Invoke(dispid::kToolTipText, IID_IDispatch, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                             nullptr),
            DISP_E_UNKNOWNINTERFACE);
}

TEST_F(AutomationTest, IconSetByReferenceIsReadBackAsTheSameObject) {
  auto picture = SolidIconPicture(RGB(0, 200, 0));
  ASSERT_EQ(PutRef(control_.get(), dispid::kIcon, Object(picture.get())).hr, S_OK);
  Outcome icon = Get(control_.get(), dispid::kIcon);
  ASSERT_EQ(icon.value.type(), VT_DISPATCH);
  EXPECT_EQ(V_DISPATCH(icon.value.get()), picture.get());
}

TEST_F(AutomationTest, IconLetWithAPictureOrAnUnknownWorksLikeSet) {
  auto picture = SolidIconPicture(RGB(0, 0, 200));
  ASSERT_EQ(Put(control_.get(), dispid::kIcon, Object(picture.get())).hr, S_OK);
  EXPECT_EQ(V_DISPATCH(Get(control_.get(), dispid::kIcon).value.get()), picture.get());

  auto other = SolidBitmapPicture(RGB(200, 0, 0));
  ASSERT_EQ(PutRef(control_.get(), dispid::kIcon, Unknown(other.get())).hr, S_OK);
  EXPECT_EQ(V_DISPATCH(Get(control_.get(), dispid::kIcon).value.get()), other.get());
}

TEST_F(AutomationTest, IconSetToNothingIsTheControlsOwnIconAgain) {
  Outcome initial = Get(control_.get(), dispid::kIcon);
  auto picture = SolidIconPicture(RGB(0, 200, 0));
  PutRef(control_.get(), dispid::kIcon, Object(picture.get()));
  ASSERT_EQ(PutRef(control_.get(), dispid::kIcon, Object(nullptr)).hr, S_OK);
  Outcome icon = Get(control_.get(), dispid::kIcon);
  EXPECT_EQ(V_DISPATCH(icon.value.get()), V_DISPATCH(initial.value.get()));
}

TEST_F(AutomationTest, IconThatIsNotAPictureIsAnExceptionTheUserCanRead) {
  auto picture = SolidIconPicture(RGB(0, 200, 0));
  PutRef(control_.get(), dispid::kIcon, Object(picture.get()));
  auto notAPicture = common::make<RecordingSink>();
  Outcome outcome = PutRef(control_.get(), dispid::kIcon, Object(notAPicture.get()));
  EXPECT_EQ(outcome.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(outcome.scode, CTL_E_INVALIDPICTURE);
  EXPECT_EQ(outcome.source, L"TraylumeControl.Traylume");
  EXPECT_EQ(outcome.description, ocx::texts::kNotAPicture);
  EXPECT_EQ(V_DISPATCH(Get(control_.get(), dispid::kIcon).value.get()), picture.get()) << "unchanged";
}

TEST_F(AutomationTest, PictureWithoutAnImageIsAnExceptionTheUserCanRead) {
  auto empty = EmptyPicture();
  ASSERT_TRUE(empty);
  Outcome outcome = PutRef(control_.get(), dispid::kIcon, Object(empty.get()));
  EXPECT_EQ(outcome.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(outcome.scode, CTL_E_INVALIDPICTURE);
  EXPECT_EQ(outcome.description, ocx::texts::kUnusablePicture);
}

TEST_F(AutomationTest, IconGivenANonObjectIsATypeMismatch) {
  common::UniqueBstr path(L"C:\\icon.ico");
  Outcome outcome = PutRef(control_.get(), dispid::kIcon, Text(path.get()));
  EXPECT_EQ(outcome.hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(outcome.argError, 0u);
}

TEST_F(AutomationTest, FailuresAlsoReachTheThreadsErrorInfo) {
  common::ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(control_.As(&support), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(DIID_ITraylume), S_OK);

  auto notAPicture = common::make<RecordingSink>();
  DISPID named = DISPID_PROPERTYPUT;
  VARIANT value = Object(notAPicture.get());
  DISPPARAMS params{&value, &named, 1, 1};
  EXPECT_EQ(control_->Invoke(dispid::kIcon, IID_NULL, 0, DISPATCH_PROPERTYPUTREF, &params, nullptr, nullptr,
                             nullptr),
            DISP_E_EXCEPTION);
  common::ComPtr<IErrorInfo> error;
  ASSERT_EQ(::GetErrorInfo(0, error.put()), S_OK);
  common::UniqueBstr description;
  error->GetDescription(description.put());
  EXPECT_EQ(description.str(), ocx::texts::kNotAPicture);
}

}  // namespace
}  // namespace traylume_tests
