#pragma once
// The read-only property bag that hands the control its saved state in
// IPersistPropertyBag::Load. It answers exactly the four saved keys, in
// whatever order the control asks for them; anything else is not there.

#include <windows.h>
#include <ocidl.h>

#include "common/com_object.h"
#include "common/variant.h"
#include "component/saved_state.h"

namespace component {

class PropertyBag : public common::ComObject<IPropertyBag> {
 public:
  explicit PropertyBag(const SavedState& state) : state_(state) {}

  // Answers the contract's keys (contract::bag_key): the extent (VT_I4),
  // the icon (VT_DISPATCH, the picture; not there when the state has none)
  // and the tooltip (VT_BSTR). Keys match without regard to case, as a form's saved state
  // does. `value`'s type on entry is the type asked for: VT_EMPTY takes the
  // value as it is, any other type is converted to (VariantChangeType).
  // Unknown keys: E_INVALIDARG.
  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  // The saved state is not written back.
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

 protected:
  ~PropertyBag() override = default;

 private:
  HRESULT Lookup(LPCOLESTR name, common::UniqueVariant* value) const;

  SavedState state_;
};

}  // namespace component
