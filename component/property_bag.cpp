#include "component/property_bag.h"

#include <oleauto.h>

#include "common/hresult.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"

namespace component {
namespace {

namespace bag_key = contract::bag_key;

bool SameKey(LPCOLESTR name, const wchar_t* key) {
  return ::CompareStringOrdinal(name, -1, key, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

HRESULT PropertyBag::Lookup(LPCOLESTR name, common::UniqueVariant* value) const {
  if (SameKey(name, bag_key::kExtentX)) {
    *value = common::LongVariant(state_.extentX);
  } else if (SameKey(name, bag_key::kExtentY)) {
    *value = common::LongVariant(state_.extentY);
  } else if (SameKey(name, bag_key::kIcon) && state_.icon) {
    *value = common::DispatchVariant(state_.icon.get());
  } else if (SameKey(name, bag_key::kToolTipText)) {
    *value = common::TextVariant(state_.toolTipText);
    if (value->type() != VT_BSTR) RETURN_HR(E_OUTOFMEMORY);
  } else {
    return E_INVALIDARG;  // not in the bag
  }
  return S_OK;
}

STDMETHODIMP PropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  const VARTYPE wanted = V_VT(value);
  common::UniqueVariant found;
  const HRESULT hr = Lookup(name, &found);
  if (FAILED(hr)) return hr;
  if (wanted == VT_EMPTY || wanted == found.type()) {
    // `value` holds only the type asked for, nothing to clear.
    *value = found.release();
    return S_OK;
  }
  common::UniqueVariant converted;
  const HRESULT changed = ::VariantChangeType(converted.get(), found.get(), 0, wanted);
  if (FAILED(changed)) return changed;
  *value = converted.release();
  return S_OK;
}

STDMETHODIMP PropertyBag::Write(LPCOLESTR, VARIANT*) { return E_NOTIMPL; }

}  // namespace component
