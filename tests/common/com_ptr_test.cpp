// The COM pointer holds exactly one reference per owner: through copies,
// moves, assignments (to itself too), out-parameters and queries.
#include <gtest/gtest.h>

#include "common/com_ptr.h"
#include "tests/support/automation.h"

namespace {

// The references `object` has now.
ULONG References(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

TEST(ComPtr, EveryOwnerHoldsExactlyOneReference) {
  auto object = common::make<support::Bystander>();
  IDispatch* raw = object.get();
  {
    common::ComPtr<IDispatch> first(raw);
    common::ComPtr<IDispatch> second;
    common::ComPtr<IDispatch> third;
    second = first;
    const common::ComPtr<IDispatch>& same = second;
    second = same;
    EXPECT_EQ(References(raw), 3u);
    third = std::move(first);
    EXPECT_FALSE(first);
    third = second;
    EXPECT_EQ(References(raw), 3u) << "the value a pointer had is let go";
    common::ComPtr<IUnknown> unknown;
    ASSERT_EQ(third.As(&unknown), S_OK);
    EXPECT_EQ(References(raw), 4u);
    unknown.put();
    EXPECT_EQ(References(raw), 3u) << "a pointer lets go before it is filled again";
    EXPECT_EQ(common::ComPtr<IDispatch>().As(&unknown), E_POINTER);
    IDispatch* out = nullptr;
    ASSERT_EQ(third.CopyTo(&out), S_OK);
    const auto adopted = common::ComPtr<IDispatch>::Adopt(out);
    EXPECT_EQ(References(raw), 4u);
  }
  EXPECT_EQ(References(raw), 1u);
}

}  // namespace
