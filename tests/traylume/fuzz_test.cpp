// Hostile input, at random but repeatably: Invoke calls over every member
// with random flags, counts, names and values; saved streams with random
// damage. The control must never fall over, and what it refuses must leave
// it exactly as it was. The variables TRAYLUME_FUZZ_SEED, _INVOKES and
// _STREAMS set the seed and counts. (Property bags are read through the same
// readers as Invoke's values.)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>

#include "common/com_object.h"
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

// Random VARIANTs and everything they point at, freed together.
class Values {
 public:
  explicit Values(std::mt19937& random) : random_(random) {}
  ~Values() {
    for (BSTR text : texts_) ::SysFreeString(text);
  }

  VARIANT Any(int depth = 0) {
    VARIANT v;
    ::VariantInit(&v);
    const VARTYPE referable[] = {VT_I4, VT_BOOL, VT_BSTR, VT_DISPATCH, VT_UNKNOWN};
    switch (Pick(depth < 4 ? 10 : 8)) {
      case 0: V_VT(&v) = VT_I4, V_I4(&v) = static_cast<LONG>(random_()); break;
      case 1: V_VT(&v) = VT_R8, V_R8(&v) = Pick(2) ? 1e300 : -0.5; break;
      case 2: V_VT(&v) = VT_BOOL, V_BOOL(&v) = static_cast<VARIANT_BOOL>(Pick(2) ? -1 : random_()); break;
      case 3: V_VT(&v) = VT_BSTR, V_BSTR(&v) = Text(); break;
      case 4: V_VT(&v) = static_cast<VARTYPE>(Pick(2) ? VT_EMPTY : VT_NULL); break;
      case 5: V_VT(&v) = VT_ERROR, V_ERROR(&v) = Pick(2) ? DISP_E_PARAMNOTFOUND : E_FAIL; break;
      case 6: V_VT(&v) = VT_DISPATCH, V_DISPATCH(&v) = Object(); break;
      case 7: V_VT(&v) = static_cast<VARTYPE>(Pick(0x1000)); break;  // arrays, vectors, records, nonsense
      case 8: V_VT(&v) = VT_VARIANT | VT_BYREF, V_VARIANTREF(&v) = Pick(5) ? &Keep(Any(depth + 1)) : nullptr; break;
      default: {  // a reference to a value, or to nothing
        const VARTYPE type = referable[Pick(5)];
        V_VT(&v) = type | VT_BYREF;
        VARIANT& target = Keep(Any(4));
        if (type == VT_BSTR) V_BSTR(&target) = Text();
        if (type == VT_DISPATCH || type == VT_UNKNOWN) V_DISPATCH(&target) = Object();
        V_BYREF(&v) = Pick(4) ? &V_BYREF(&target) : nullptr;
      }
    }
    return v;
  }

 private:
  unsigned Pick(unsigned n) { return static_cast<unsigned>(random_() % n); }
  VARIANT& Keep(VARIANT v) { return variants_.emplace_back(v); }
  BSTR Text() {  // long ones, lone surrogates, odd byte lengths, none at all
    std::wstring chars(Pick(20) ? Pick(300) : 1u << (10 + Pick(10)), L'\0');
    for (auto& c : chars) c = static_cast<wchar_t>(Pick(3) ? 0x3041 + Pick(80) : random_());
    const auto size = static_cast<UINT>(chars.size());
    BSTR text = Pick(8) ? ::SysAllocStringLen(chars.data(), size)
                        : ::SysAllocStringByteLen(reinterpret_cast<const char*>(chars.data()), size | 1);
    return texts_.emplace_back(Pick(10) ? text : (::SysFreeString(text), nullptr));
  }
  IDispatch* Object() {
    if (Pick(3) == 0) return nullptr;
    if (Pick(2)) return objects_.emplace_back(common::make<support::Bystander>()).get();
    return pictures_.emplace_back(support::SolidIconPicture(random_() & 0xFFFFFF)).get();
  }

  std::mt19937& random_;
  std::deque<VARIANT> variants_;  // stable addresses for references
  std::vector<BSTR> texts_;
  std::vector<common::ComPtr<support::Bystander>> objects_;
  std::vector<common::ComPtr<IPictureDisp>> pictures_;
};

class FuzzTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    random_.seed(seed_);
    std::printf("fuzz: seed %u\n", seed_);  // said first: a crash must be repeatable
  }
  void TearDown() override {
    EXPECT_EQ(support::Bystander::invoked, 0) << "a foreign object's default member was read";
    ControlTest::TearDown();
  }
  // Runs `count` cases of `attempt` (which returns its HRESULT): none may
  // crash, and a refused one must leave the control's state as it was.
  template <typename Attempt>
  void Run(const char* what, unsigned count, Attempt attempt) {
    unsigned accepted = 0;
    for (unsigned i = 0; i < count; ++i) {
      if (i % 500 == 0) shell.calls.clear();
      Values values(random_);
      const auto before = State(control.get());
      const HRESULT hr = attempt(values);
      if (FAILED(hr)) {
        ASSERT_EQ(State(control.get()), before) << "seed " << seed_ << ", " << what << " #" << i << ": refused, yet changed";
      }
      accepted += SUCCEEDED(hr);
    }
    std::printf("fuzz: seed %u, %u %s, %u accepted\n", seed_, count, what, accepted);
  }

  const unsigned seed_ = Setting("TRAYLUME_FUZZ_SEED", 20261207);
  std::mt19937 random_;
};

TEST_F(FuzzTest, RandomInvokeCalls) {
  const DISPID members[] = {dispid::kBalloonSupported, dispid::kBalloonText, dispid::kAutoRefresh, dispid::kBalloonSound,
                            dispid::kBalloon,          dispid::kBalloonTitle, dispid::kToolTipText, dispid::kBalloonIcon,
                            dispid::kIcon,             dispid::kRefresh,      dispid::kShowIcon,    dispid::kHideIcon};
  Run("Invoke calls", Setting("TRAYLUME_FUZZ_INVOKES", 3000), [&](Values& values) {
    const DISPID id = random_() % 8 ? members[random_() % 12] : static_cast<DISPID>(random_());
    std::vector<VARIANT> arguments(random_() % 4 ? 1 : random_() % 4);
    for (auto& argument : arguments) argument = values.Any();
    std::vector<DISPID> names(arguments.empty() ? 0 : random_() % (arguments.size() + 1));
    for (auto& name : names) name = random_() % 3 ? DISPID_PROPERTYPUT : static_cast<DISPID>(random_() % 8);
    DISPPARAMS params{arguments.data(), names.data(), static_cast<UINT>(arguments.size()), static_cast<UINT>(names.size())};
    common::UniqueVariant result;
    EXCEPINFO exception{};
    UINT argError = 0;
    const bool all = random_() % 2;
    const HRESULT hr = control->Invoke(id, IID_NULL, 0, static_cast<WORD>(1 + random_() % 15), &params,
                                       all ? result.put() : nullptr, all ? &exception : nullptr, all ? &argError : nullptr);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    return hr;
  });
}

TEST_F(FuzzTest, DamagedStreams) {
  auto picture = support::SolidIconPicture(RGB(10, 20, 30), 32);
  ASSERT_EQ(support::Put(control.get(), dispid::kIcon, support::Object(picture.get()), DISPATCH_PROPERTYPUTREF).hr, S_OK);
  const std::vector<BYTE> original = SavedBytes(control.get());
  ASSERT_FALSE(original.empty());
  Run("damaged streams", Setting("TRAYLUME_FUZZ_STREAMS", 400), [&](Values&) {
    std::vector<BYTE> bytes = original;
    for (unsigned change = 1 + random_() % 8; change > 0; --change) {
      const size_t at = random_() % bytes.size();
      switch (random_() % 4) {
        case 0: bytes[at] ^= static_cast<BYTE>(1 + random_() % 255); break;
        case 1: bytes[at] = random_() % 2 ? 0xFF : 0x00; break;
        case 2: bytes.resize(at + 1); break;
        default: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<BYTE>(random_()));
      }
    }
    return LoadBytes(control.get(), bytes);
  });
}

}  // namespace
}  // namespace traylume_tests
