// Hostile input, at random but repeatably: Invoke calls over every member
// with random flags, counts, names and values; property bags that answer
// anything; saved streams with random damage. The control must never fall
// over, and a call it refuses must leave it exactly as it was.
//
// TRAYLUME_FUZZ_SEED, TRAYLUME_FUZZ_INVOKES, TRAYLUME_FUZZ_BAGS and
// TRAYLUME_FUZZ_STREAMS change the seed and the counts for longer runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "common/com_object.h"
#include "common/text.h"
#include "contract/traylume_contract.h"
#include "tests/support/automation.h"
#include "tests/support/pictures.h"
#include "tests/traylume/control_test.h"

namespace traylume_tests {
namespace {

namespace dispid = contract::dispid;

unsigned Setting(const char* name, unsigned fallback) {
  const char* text = std::getenv(name);
  return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

// What is being tried, for the report of a crash.
char currentCase[256] = "";

LONG CALLBACK ReportCrash(EXCEPTION_POINTERS* crash) {
  const DWORD code = crash->ExceptionRecord->ExceptionCode;
  if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_STACK_OVERFLOW || code == EXCEPTION_INT_DIVIDE_BY_ZERO) {
    std::fprintf(stderr, "fuzz: crash 0x%08lX in %s\n", code, currentCase);
    std::fflush(stderr);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// An object whose default member must never be read.
class Bystander final : public common::ComObject<IDispatch> {
 public:
  static inline int invoked = 0;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    ++invoked;
    return S_OK;
  }
};

// Random VARIANTs and everything they point at, freed together.
class Values {
 public:
  explicit Values(std::mt19937& random) : random_(random) {}
  Values(const Values&) = delete;
  Values& operator=(const Values&) = delete;
  ~Values() {
    for (BSTR text : texts_) ::SysFreeString(text);
    for (SAFEARRAY* array : arrays_) ::SafeArrayDestroy(array);
  }

  VARIANT Any(int depth = 0) {
    VARIANT v;
    ::VariantInit(&v);
    switch (Pick(depth < 4 ? 16 : 12)) {
      case 0: V_VT(&v) = VT_I4, V_I4(&v) = static_cast<LONG>(random_()); break;
      case 1: V_VT(&v) = VT_I2, V_I2(&v) = static_cast<SHORT>(random_()); break;
      case 2: V_VT(&v) = VT_R8, V_R8(&v) = Pick(2) ? 1e300 : -0.5; break;
      case 3: V_VT(&v) = VT_BOOL, V_BOOL(&v) = Pick(2) ? VARIANT_TRUE : static_cast<VARIANT_BOOL>(random_()); break;
      case 4: V_VT(&v) = VT_BSTR, V_BSTR(&v) = Text(); break;
      case 5: V_VT(&v) = Pick(2) ? VT_EMPTY : VT_NULL; break;
      case 6: V_VT(&v) = VT_ERROR, V_ERROR(&v) = Pick(2) ? DISP_E_PARAMNOTFOUND : E_FAIL; break;
      case 7: V_VT(&v) = VT_DECIMAL, V_DECIMAL(&v).Hi32 = random_(), V_DECIMAL(&v).scale = static_cast<BYTE>(Pick(40)); break;
      case 8: V_VT(&v) = VT_DISPATCH, V_DISPATCH(&v) = Object(); break;
      case 9: V_VT(&v) = static_cast<VARTYPE>(Pick(2) ? (VT_VECTOR | VT_I4) : Pick(0x1000)); break;
      case 10: V_VT(&v) = VT_ARRAY | VT_I4, V_ARRAY(&v) = Array(); break;
      case 11: V_VT(&v) = VT_RECORD; break;
      default: {  // references: to a value, to a variant, or to nothing
        const VARTYPE types[] = {VT_I4, VT_I2, VT_BOOL, VT_BSTR, VT_DISPATCH, VT_UNKNOWN, VT_DECIMAL, VT_ARRAY | VT_I4};
        if (Pick(3) == 0) {
          V_VT(&v) = VT_VARIANT | VT_BYREF;
          V_VARIANTREF(&v) = Pick(5) ? &Keep(Any(depth + 1)) : nullptr;
        } else {
          const VARTYPE type = types[Pick(8)];
          V_VT(&v) = type | VT_BYREF;
          V_BYREF(&v) = Pick(4) ? Target(type) : nullptr;
        }
      }
    }
    return v;
  }

  // A value of the type a saved key has, though not always a sane one.
  VARIANT Plausible(const std::wstring& key) {
    VARIANT v;
    ::VariantInit(&v);
    if (key == L"icon") {
      V_VT(&v) = VT_DISPATCH, V_DISPATCH(&v) = Object();
    } else if (key == L"tooltiptext") {
      V_VT(&v) = VT_BSTR, V_BSTR(&v) = Text();
    } else {
      V_VT(&v) = VT_I4, V_I4(&v) = static_cast<LONG>(random_() % 4000) - 100;
    }
    return v;
  }

  std::string Describe(const VARIANT& v) const {
    char text[64];
    std::snprintf(text, sizeof(text), "vt 0x%04X", V_VT(&v));
    return text;
  }

 private:
  unsigned Pick(unsigned n) { return static_cast<unsigned>(random_() % n); }
  VARIANT& Keep(VARIANT v) { return variants_.emplace_back(v); }

  BSTR Text() {
    const unsigned length = Pick(20) == 0 ? 1u << (10 + Pick(10)) : Pick(300);
    std::wstring chars(length, L'\0');
    for (auto& c : chars) c = static_cast<wchar_t>(Pick(3) ? 0x3041 + Pick(80) : random_());  // lone surrogates too
    BSTR text = Pick(8) ? ::SysAllocStringLen(chars.data(), length)
                        : ::SysAllocStringByteLen(reinterpret_cast<const char*>(chars.data()), length | 1);
    if (Pick(10) == 0) {
      ::SysFreeString(text);
      text = nullptr;
    }
    texts_.push_back(text);
    return text;
  }

  IDispatch* Object() {
    switch (Pick(3)) {
      case 0: return nullptr;
      case 1: return objects_.emplace_back(common::make<Bystander>()).get();
      default: return pictures_.emplace_back(support::SolidIconPicture(random_() & 0xFFFFFF)).get();
    }
  }

  SAFEARRAY* Array() { return arrays_.emplace_back(::SafeArrayCreateVector(VT_I4, 0, Pick(4))); }

  void* Target(VARTYPE type) {
    VARIANT& slot = Keep(Any(4));
    switch (type) {
      case VT_BSTR: V_BSTR(&slot) = Text(); return &V_BSTR(&slot);
      case VT_DISPATCH: V_DISPATCH(&slot) = Object(); return &V_DISPATCH(&slot);
      case VT_UNKNOWN: V_UNKNOWN(&slot) = Object(); return &V_UNKNOWN(&slot);
      case VT_DECIMAL: return &V_DECIMAL(&slot);
      case VT_ARRAY | VT_I4: V_ARRAY(&slot) = Pick(2) ? Array() : nullptr; return &V_ARRAY(&slot);
      default: V_I4(&slot) = static_cast<LONG>(random_()); return &V_I4(&slot);
    }
  }

  std::mt19937& random_;
  std::deque<VARIANT> variants_;  // stable addresses for references
  std::vector<BSTR> texts_;
  std::vector<SAFEARRAY*> arrays_;
  std::vector<common::ComPtr<Bystander>> objects_;
  std::vector<common::ComPtr<IPictureDisp>> pictures_;
};

// Everything a caller can see of the control's state.
std::vector<std::wstring> State(IDispatch* control) {
  std::vector<std::wstring> state;
  for (DISPID id : {dispid::kBalloonText, dispid::kAutoRefresh, dispid::kBalloonSound, dispid::kBalloon,
                    dispid::kBalloonTitle, dispid::kToolTipText, dispid::kBalloonIcon}) {
    state.push_back(support::Shown(control, id));
  }
  const support::Outcome icon = support::Get(control, dispid::kIcon);
  state.push_back(std::to_wstring(reinterpret_cast<UINT_PTR>(V_DISPATCH(icon.value.get()))));
  SIZEL extent{};
  common::ComPtr<IOleObject> ole;
  if (SUCCEEDED(common::ComPtr<IDispatch>(control).As(&ole))) ole->GetExtent(DVASPECT_CONTENT, &extent);
  state.push_back(std::to_wstring(extent.cx) + L"x" + std::to_wstring(extent.cy));
  return state;
}

class FuzzTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    seed_ = Setting("TRAYLUME_FUZZ_SEED", 20261207);
    random_.seed(seed_);
    handler_ = ::AddVectoredExceptionHandler(1, &ReportCrash);
  }
  void TearDown() override {
    ::RemoveVectoredExceptionHandler(handler_);
    EXPECT_EQ(Bystander::invoked, 0) << "a foreign object's default member was read";
    ControlTest::TearDown();
  }
  void Describe(const char* what, unsigned index, const std::string& detail) {
    std::snprintf(currentCase, sizeof(currentCase), "seed %u, %s #%u: %s", seed_, what, index, detail.c_str());
  }

  unsigned seed_ = 0;
  std::mt19937 random_;
  void* handler_ = nullptr;
};

TEST_F(FuzzTest, RandomInvokeCallsNeverCrashAndRefusalsChangeNothing) {
  const DISPID members[] = {dispid::kBalloonSupported, dispid::kBalloonText, dispid::kAutoRefresh,
                            dispid::kBalloonSound,     dispid::kBalloon,     dispid::kBalloonTitle,
                            dispid::kToolTipText,      dispid::kBalloonIcon, dispid::kIcon,
                            dispid::kRefresh,          dispid::kShowIcon,    dispid::kHideIcon};
  const unsigned count = Setting("TRAYLUME_FUZZ_INVOKES", 3000);
  unsigned accepted = 0;
  for (unsigned i = 0; i < count; ++i) {
    Values values(random_);
    const DISPID id = random_() % 8 ? members[random_() % 12] : static_cast<DISPID>(random_());
    const WORD flags = static_cast<WORD>(1 + random_() % 15);
    std::vector<VARIANT> arguments(random_() % 4 == 0 ? random_() % 4 : 1);
    std::string detail = "id " + std::to_string(id) + " flags " + std::to_string(flags);
    for (auto& argument : arguments) {
      argument = values.Any();
      detail += " " + values.Describe(argument);
    }
    std::vector<DISPID> names(arguments.empty() ? 0 : random_() % (arguments.size() + 1));
    for (auto& name : names) name = random_() % 3 ? DISPID_PROPERTYPUT : static_cast<DISPID>(random_() % 8);
    Describe("invoke", i, detail + " named " + std::to_string(names.size()));
    if (i % 500 == 0) shell.calls.clear();

    const auto before = State(control.get());
    DISPPARAMS params{arguments.data(), names.empty() ? nullptr : names.data(), static_cast<UINT>(arguments.size()),
                      static_cast<UINT>(names.size())};
    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO exception{};
    UINT argError = 0;
    const bool full = random_() % 2;
    const HRESULT hr = control->Invoke(id, IID_NULL, 0, flags, &params, full ? &result : nullptr,
                                       full ? &exception : nullptr, full ? &argError : nullptr);
    ::VariantClear(&result);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    if (FAILED(hr)) {
      ASSERT_EQ(State(control.get()), before) << currentCase;
    }
    accepted += SUCCEEDED(hr);
  }
  std::printf("fuzz: seed %u, %u Invoke calls, %u accepted\n", seed_, count, accepted);
}

// A property bag that answers every key with anything, or not at all.
class AnyBag final : public common::ComObject<IPropertyBag> {
 public:
  explicit AnyBag(Values& values, std::mt19937& random) : values_(values), random_(random) {}
  STDMETHODIMP Read(LPCOLESTR key, VARIANT* value, IErrorLog*) override {
    if (random_() % 6 == 0) return E_INVALIDARG;
    VARIANT made = values_.Any();
    if (random_() % 2) made = values_.Plausible(key);  // so that whole bags are taken too
    if (FAILED(::VariantCopy(value, &made))) *value = made;  // types VariantCopy refuses go as they are
    return S_OK;
  }
  STDMETHODIMP Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

 private:
  Values& values_;
  std::mt19937& random_;
};

TEST_F(FuzzTest, RandomPropertyBagsNeverCrashAndRefusedLoadsChangeNothing) {
  common::ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(control.As(&persist), S_OK);
  const unsigned count = Setting("TRAYLUME_FUZZ_BAGS", 400);
  unsigned accepted = 0;
  for (unsigned i = 0; i < count; ++i) {
    Values values(random_);
    Describe("bag", i, "");
    const auto before = State(control.get());
    auto bag = common::make<AnyBag>(values, random_);
    const HRESULT hr = persist->Load(bag.get(), nullptr);
    if (FAILED(hr)) {
      ASSERT_EQ(State(control.get()), before) << currentCase;
    }
    accepted += SUCCEEDED(hr);
  }
  std::printf("fuzz: seed %u, %u property bags, %u accepted\n", seed_, count, accepted);
}

TEST_F(FuzzTest, DamagedStreamsNeverCrashAndRefusedLoadsChangeNothing) {
  auto picture = support::SolidIconPicture(RGB(10, 20, 30), 32);
  ASSERT_EQ(support::Put(control.get(), dispid::kIcon, support::Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  common::ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(control.As(&persist), S_OK);
  common::ComPtr<IStream> saved;
  ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, saved.put()), S_OK);
  ASSERT_EQ(persist->Save(saved.get(), TRUE), S_OK);
  STATSTG stat{};
  saved->Stat(&stat, STATFLAG_NONAME);
  std::vector<BYTE> original(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start{};
  saved->Seek(start, STREAM_SEEK_SET, nullptr);
  saved->Read(original.data(), static_cast<ULONG>(original.size()), nullptr);

  const unsigned count = Setting("TRAYLUME_FUZZ_STREAMS", 400);
  unsigned accepted = 0;
  for (unsigned i = 0; i < count; ++i) {
    std::vector<BYTE> bytes = original;
    for (unsigned change = 1 + random_() % 8; change > 0; --change) {
      const size_t at = random_() % bytes.size();
      switch (random_() % 4) {
        case 0: bytes[at] ^= static_cast<BYTE>(1 + random_() % 255); break;
        case 1: bytes[at] = random_() % 2 ? 0xFF : 0x00; break;
        case 2: bytes.resize(at + 1); break;
        default: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<BYTE>(random_())); break;
      }
    }
    Describe("stream", i, std::to_string(bytes.size()) + " bytes");
    const auto before = State(control.get());
    common::ComPtr<IStream> stream;
    ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    const HRESULT hr = persist->Load(stream.get());
    if (FAILED(hr)) {
      ASSERT_EQ(State(control.get()), before) << currentCase;
    }
    accepted += SUCCEEDED(hr);
  }
  std::printf("fuzz: seed %u, %u damaged streams, %u accepted\n", seed_, count, accepted);
}

}  // namespace
}  // namespace traylume_tests
