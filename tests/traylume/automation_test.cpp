// The control as an automation client sees it: names, dispatch ids and
// types, initial values, get and let with the coercions clients rely on,
// the icon picture, and the error codes of wrong calls.

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "common/bstr.h"
#include "contract/traylume_contract.h"
#include "tests/traylume/automation.h"
#include "tests/traylume/control_fixture.h"
#include "tests/traylume/recording_sink.h"
#include "tests/support/test_pictures.h"
#include "traylume/user_texts.h"
#include "traylume_idl.h"

namespace traylume_tests {
namespace {

namespace dispid = contract::dispid;
using testing_support::EmptyPicture;
using testing_support::PictureCentreColor;
using testing_support::PictureType;
using testing_support::SolidBitmapPicture;
using testing_support::SolidIconPicture;
using AutomationTest = ControlTest;

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

DISPID IdOf(IDispatch* control, std::wstring name, HRESULT* result = nullptr) {
  LPOLESTR names[] = {name.data()};
  DISPID id = 12345;
  const HRESULT hr = control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (result) *result = hr;
  return id;
}

std::wstring Cased(std::wstring text, wint_t (*change)(wint_t)) {
  for (auto& c : text) c = static_cast<wchar_t>(change(c));
  return text;
}

// A member as a type-library reader (a form designer, an object browser)
// learns it from one FUNCDESC: "Icon 0x6803000a putref 9" (kind, VARTYPE of
// the value; 9 = VT_DISPATCH for the picture interface).
std::wstring Described(ITypeInfo* info, const FUNCDESC& function) {
  const TYPEDESC& type = function.invkind != INVOKE_PROPERTYGET && function.cParams == 1
                             ? function.lprgelemdescParam[0].tdesc
                             : function.elemdescFunc.tdesc;
  VARTYPE vt = type.vt;
  if (vt == VT_PTR && type.lptdesc && type.lptdesc->vt == VT_USERDEFINED) {
    common::ComPtr<ITypeInfo> referenced;
    common::UniqueBstr name;
    info->GetRefTypeInfo(type.lptdesc->hreftype, referenced.put());
    if (referenced) referenced->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
    vt = name.str() == L"IPictureDisp" ? VT_DISPATCH : VT_USERDEFINED;
  }
  common::UniqueBstr name;
  UINT names = 0;
  info->GetNames(function.memid, name.put(), 1, &names);
  const wchar_t* kinds[] = {L"?", L"call", L"get", L"?", L"let", L"?", L"?", L"?", L"putref"};
  wchar_t id[16];
  std::swprintf(id, 16, L"0x%08lx", static_cast<unsigned long>(function.memid));
  return name.str() + L" " + id + L" " + kinds[function.invkind < 9 ? function.invkind : 0] + L" " +
         std::to_wstring(vt);
}

TEST_F(AutomationTest, TypeInfoAndGetIDsOfNamesAgreeOnEveryMember) {
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

  std::vector<std::wstring> described;
  for (WORD i = 0; i < functions; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
    if (function->memid < 0x60000000 || function->memid >= 0x60010000) {  // not IDispatch's own
      described.push_back(Described(info.get(), *function));
      // The control answers the same id for the name, whatever its case.
      const std::wstring name = described.back().substr(0, described.back().find(L' '));
      HRESULT hr = E_FAIL;
      EXPECT_EQ(IdOf(control_.get(), name, &hr), function->memid) << Narrow(name);
      EXPECT_EQ(hr, S_OK);
      EXPECT_EQ(IdOf(control_.get(), Cased(name, towupper)), function->memid) << Narrow(name);
      EXPECT_EQ(IdOf(control_.get(), Cased(name, towlower)), function->memid) << Narrow(name);
    }
    info->ReleaseFuncDesc(function);
  }
  EXPECT_EQ(described, (std::vector<std::wstring>{
                           L"BalloonSupported 0x68030002 get 11", L"BalloonText 0x68030003 get 8",
                           L"BalloonText 0x68030003 let 8",       L"AutoRefresh 0x68030004 get 11",
                           L"AutoRefresh 0x68030004 let 11",      L"BalloonSound 0x68030005 get 11",
                           L"BalloonSound 0x68030005 let 11",     L"Balloon 0x68030006 get 11",
                           L"Balloon 0x68030006 let 11",          L"BalloonTitle 0x68030007 get 8",
                           L"BalloonTitle 0x68030007 let 8",      L"ToolTipText 0x68030008 get 8",
                           L"ToolTipText 0x68030008 let 8",       L"BalloonIcon 0x68030009 get 3",
                           L"BalloonIcon 0x68030009 let 3",       L"Icon 0x6803000a get 9",
                           L"Icon 0x6803000a let 9",              L"Icon 0x6803000a putref 9",
                           L"Refresh 0x60030011 call 24",         L"ShowIcon 0x60030013 call 24",
                           L"HideIcon 0x60030014 call 24"}));

  // Names the control does not have, also as parameter names.
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

struct Expected {
  DISPID id;
  const wchar_t* shown;
};

constexpr Expected kInitialValues[] = {
    {dispid::kBalloonSupported, L"VT_BOOL -1"},  // shell32 5.0 and later; Wine has 6
    {dispid::kAutoRefresh, L"VT_BOOL 0"},        {dispid::kBalloon, L"VT_BOOL 0"},
    {dispid::kBalloonSound, L"VT_BOOL -1"},      {dispid::kBalloonIcon, L"VT_I4 0"},
    {dispid::kToolTipText, L"VT_BSTR "},         {dispid::kBalloonTitle, L"VT_BSTR "},
    {dispid::kBalloonText, L"VT_BSTR "},
};

TEST_F(AutomationTest, PropertiesStartWithTheirInitialValues) {
  for (const Expected& property : kInitialValues) {
    EXPECT_EQ(Shown(control_.get(), property.id), property.shown) << std::hex << property.id;
  }
}

TEST_F(AutomationTest, LetValuesAreCoercedToThePropertysTypeAndReadBack) {
  common::UniqueBstr tip(L"ツールチップのテストです。"), title(L"タイトル"), text(L"本文\r\n二行目"),
      three(L"3"), byReferenceText(L"参照渡し");
  VARIANT_BOOL off = VARIANT_FALSE;
  VARIANT boolByReference = Bool(false), textByReference = Text(nullptr);
  V_VT(&boolByReference) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&boolByReference) = &off;
  BSTR held = byReferenceText.get();
  V_VT(&textByReference) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&textByReference) = &held;

  // In order: every row changes the value its property had before.
  const struct {
    const char* what;
    DISPID id;
    VARIANT value;
    const wchar_t* shown;
  } lets[] = {
      {"text", dispid::kToolTipText, Text(tip.get()), L"VT_BSTR ツールチップのテストです。"},
      {"text", dispid::kBalloonTitle, Text(title.get()), L"VT_BSTR タイトル"},
      {"two lines", dispid::kBalloonText, Text(text.get()), L"VT_BSTR 本文\r\n二行目"},
      {"long", dispid::kBalloonIcon, I4(3), L"VT_I4 3"},
      {"integer as Boolean", dispid::kAutoRefresh, I4(5), L"VT_BOOL -1"},
      {"short 0 as Boolean", dispid::kAutoRefresh, I2(0), L"VT_BOOL 0"},
      {"Boolean", dispid::kAutoRefresh, Bool(true), L"VT_BOOL -1"},
      {"double as Boolean", dispid::kBalloon, R8(1.0), L"VT_BOOL -1"},
      {"Boolean", dispid::kBalloon, Bool(false), L"VT_BOOL 0"},
      {"Boolean", dispid::kBalloonSound, Bool(false), L"VT_BOOL 0"},
      {"check box value 1", dispid::kBalloonSound, I2(1), L"VT_BOOL -1"},
      {"Boolean by reference", dispid::kBalloonSound, boolByReference, L"VT_BOOL 0"},
      {"null string", dispid::kToolTipText, Text(nullptr), L"VT_BSTR "},
      {"number as text", dispid::kBalloonTitle, I4(42), L"VT_BSTR 42"},
      {"text by reference", dispid::kBalloonText, textByReference, L"VT_BSTR 参照渡し"},
      {"short", dispid::kBalloonIcon, I2(2), L"VT_I4 2"},
      {"text as number", dispid::kBalloonIcon, Text(three.get()), L"VT_I4 3"},
      {"double rounds", dispid::kBalloonIcon, R8(0.6), L"VT_I4 1"},
  };
  for (const auto& let : lets) {
    SCOPED_TRACE(let.what);
    EXPECT_EQ(Put(control_.get(), let.id, let.value).hr, S_OK);
    EXPECT_EQ(Shown(control_.get(), let.id), let.shown);
  }

  // A get also answers a call that allows method and property get.
  Outcome both = InvokeRaw(control_.get(), dispid::kBalloonTitle, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {});
  ASSERT_EQ(both.hr, S_OK);
  EXPECT_EQ(std::wstring(V_BSTR(both.value.get())), L"42");
}

TEST_F(AutomationTest, WrongCallsAnswerTheirErrorCodesAndChangeNothing) {
  common::UniqueBstr word(L"abc"), path(L"C:\\icon.ico");
  VARIANT missing = I4(0);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  const std::optional<DISPID> none, put = DISPID_PROPERTYPUT;
  const WORD kGet = DISPATCH_PROPERTYGET, kPut = DISPATCH_PROPERTYPUT, kPutRef = DISPATCH_PROPERTYPUTREF,
             kMethod = DISPATCH_METHOD;
  const struct {
    const char* what;
    DISPID id;
    WORD flags;
    std::vector<VARIANT> arguments;
    std::optional<DISPID> named;
    HRESULT expected;
  } calls[] = {
      {"unknown property id", 0x68030001, kGet, {}, none, DISP_E_MEMBERNOTFOUND},
      {"unknown method id", 0x60030012, kMethod, {}, none, DISP_E_MEMBERNOTFOUND},
      {"no default member", DISPID_VALUE, kGet, {}, none, DISP_E_MEMBERNOTFOUND},
      {"read-only property let", dispid::kBalloonSupported, kPut, {Bool(false)}, put, DISP_E_MEMBERNOTFOUND},
      {"method with an argument", dispid::kRefresh, kMethod, {I4(1)}, none, DISP_E_BADPARAMCOUNT},
      {"method with a named argument", dispid::kRefresh, kMethod, {I4(1)}, put, DISP_E_NONAMEDARGS},
      {"method let", dispid::kShowIcon, kPut, {I4(1)}, put, DISP_E_MEMBERNOTFOUND},
      {"method get", dispid::kHideIcon, kGet, {}, none, DISP_E_MEMBERNOTFOUND},
      {"get with an argument", dispid::kToolTipText, kGet, {I4(0)}, none, DISP_E_BADPARAMCOUNT},
      {"let without a value", dispid::kToolTipText, kPut, {}, none, DISP_E_PARAMNOTOPTIONAL},
      {"let of a missing value", dispid::kToolTipText, kPut, {missing}, put, DISP_E_PARAMNOTOPTIONAL},
      {"let of two values", dispid::kToolTipText, kPut, {I4(1), I4(2)}, put, DISP_E_BADPARAMCOUNT},
      {"let naming another argument", dispid::kToolTipText, kPut, {I4(1)}, 7, DISP_E_PARAMNOTFOUND},
      {"set of a text", dispid::kToolTipText, kPutRef, {Text(word.get())}, put, DISP_E_MEMBERNOTFOUND},
      {"word as a number", dispid::kBalloonIcon, kPut, {Text(word.get())}, put, DISP_E_TYPEMISMATCH},
      {"number too big", dispid::kBalloonIcon, kPut, {R8(1e20)}, put, DISP_E_OVERFLOW},
      {"word as a Boolean", dispid::kBalloon, kPut, {Text(word.get())}, put, DISP_E_TYPEMISMATCH},
      {"icon given a path", dispid::kIcon, kPutRef, {Text(path.get())}, put, DISP_E_TYPEMISMATCH},
  };
  for (const auto& call : calls) {
    SCOPED_TRACE(call.what);
    const Outcome outcome = InvokeRaw(control_.get(), call.id, call.flags, call.arguments, call.named);
    EXPECT_EQ(outcome.hr, call.expected);
    if (call.expected == DISP_E_TYPEMISMATCH || call.expected == DISP_E_OVERFLOW) {
      EXPECT_EQ(outcome.argError, 0u) << "the value is the bad argument";
    }
  }
  DISPPARAMS noArguments{};
  common::UniqueVariant result;
  EXPECT_EQ(control_->Invoke(dispid::kToolTipText, IID_IDispatch, 0, DISPATCH_PROPERTYGET, &noArguments,
                             result.get(), nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);

  for (const Expected& property : kInitialValues) {
    EXPECT_EQ(Shown(control_.get(), property.id), property.shown) << std::hex << property.id;
  }
}

TEST_F(AutomationTest, IconTakesPicturesByValueOrReferenceAndNothingBringsBackItsOwn) {
  Outcome own = Get(control_.get(), dispid::kIcon);
  ASSERT_EQ(own.value.type(), VT_DISPATCH);
  auto* ownPicture = static_cast<IPictureDisp*>(V_DISPATCH(own.value.get()));
  EXPECT_EQ(PictureType(ownPicture), PICTYPE_ICON);
  const auto centre = PictureCentreColor(ownPicture);
  ASSERT_TRUE(centre.has_value());
  EXPECT_NE(*centre, RGB(0, 0, 0)) << "the control's own icon draws something";
  EXPECT_EQ(V_DISPATCH(Get(control_.get(), dispid::kIcon).value.get()), ownPicture) << "the same picture each time";

  const auto icon = SolidIconPicture(RGB(0, 200, 0)), other = SolidIconPicture(RGB(0, 0, 200));
  const auto bitmap = SolidBitmapPicture(RGB(200, 0, 0));
  const struct {
    const char* what;
    Outcome (*assign)(IDispatch*, DISPID, const VARIANT&);
    VARIANT value;
    IDispatch* readBack;
  } assignments[] = {
      {"set", &PutRef, Object(icon.get()), icon.get()},
      {"let", &Put, Object(other.get()), other.get()},
      {"set as IUnknown", &PutRef, Unknown(bitmap.get()), bitmap.get()},
      {"set to Nothing", &PutRef, Object(nullptr), V_DISPATCH(own.value.get())},
  };
  for (const auto& assignment : assignments) {
    SCOPED_TRACE(assignment.what);
    EXPECT_EQ(assignment.assign(control_.get(), dispid::kIcon, assignment.value).hr, S_OK);
    EXPECT_EQ(V_DISPATCH(Get(control_.get(), dispid::kIcon).value.get()), assignment.readBack);
  }
}

TEST_F(AutomationTest, UnusablePicturesAreExceptionsTheUserCanRead) {
  common::ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(control_.As(&support), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(DIID_ITraylume), S_OK);

  const auto kept = SolidIconPicture(RGB(0, 200, 0));
  ASSERT_EQ(PutRef(control_.get(), dispid::kIcon, Object(kept.get())).hr, S_OK);
  const auto notAPicture = common::make<RecordingSink>();
  const auto empty = EmptyPicture();
  const struct {
    IDispatch* object;
    const wchar_t* description;
  } unusable[] = {{notAPicture.get(), traylume::texts::kNotAPicture}, {empty.get(), traylume::texts::kUnusablePicture}};
  for (const auto& picture : unusable) {
    SCOPED_TRACE(Narrow(picture.description));
    Outcome outcome = PutRef(control_.get(), dispid::kIcon, Object(picture.object));
    EXPECT_EQ(outcome.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(outcome.scode, CTL_E_INVALIDPICTURE);
    EXPECT_EQ(outcome.source, L"TraylumeControl.Traylume");
    EXPECT_EQ(outcome.description, picture.description);
    EXPECT_EQ(V_DISPATCH(Get(control_.get(), dispid::kIcon).value.get()), kept.get()) << "unchanged";

    // A client that passes no EXCEPINFO finds the text in the thread's error info.
    DISPID named = DISPID_PROPERTYPUT;
    VARIANT value = Object(picture.object);
    DISPPARAMS params{&value, &named, 1, 1};
    EXPECT_EQ(control_->Invoke(dispid::kIcon, IID_NULL, 0, DISPATCH_PROPERTYPUTREF, &params, nullptr, nullptr,
                               nullptr),
              DISP_E_EXCEPTION);
    common::ComPtr<IErrorInfo> error;
    ASSERT_EQ(::GetErrorInfo(0, error.put()), S_OK);
    common::UniqueBstr description;
    error->GetDescription(description.put());
    EXPECT_EQ(description.str(), picture.description);
  }
}

}  // namespace
}  // namespace traylume_tests
