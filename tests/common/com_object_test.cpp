#include <gtest/gtest.h>

#include <oaidl.h>

#include "common/com_object.h"
#include "common/module_lock.h"

namespace {

class Sample : public common::ComObject<IDispatch, IPersist> {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { *count = 0; return S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP GetClassID(CLSID* id) override { *id = CLSID_NULL; return S_OK; }
};

TEST(ComObject, AnswersItsInterfacesWithOneIdentityAndCountsLiveObjects) {
  const long before = common::module_lock::Count();
  {
    auto object = common::make<Sample>();
    EXPECT_EQ(common::module_lock::Count(), before + 1);
    common::ComPtr<IPersist> persist;
    ASSERT_EQ(object.As(&persist), S_OK);
    common::ComPtr<IUnknown> a, b;
    ASSERT_EQ(object.As(&a), S_OK);
    ASSERT_EQ(persist.As(&b), S_OK);
    EXPECT_EQ(a.get(), b.get());
    common::ComPtr<IStream> none;
    EXPECT_EQ(object.As(&none), E_NOINTERFACE);
  }
  EXPECT_EQ(common::module_lock::Count(), before);
}

}  // namespace
