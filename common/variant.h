#pragma once
// Owner of a VARIANT: cleared when it goes; and the builders of the
// variants we hand out.

#include <windows.h>
#include <oleauto.h>

#include <string_view>

#include "common/com_ptr.h"

namespace common {

class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&value_); }
  UniqueVariant(UniqueVariant&& other) noexcept : value_(other.value_) { ::VariantInit(&other.value_); }
  UniqueVariant& operator=(UniqueVariant&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = other.value_;
      ::VariantInit(&other.value_);
    }
    return *this;
  }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { reset(); }

  VARIANT* get() { return &value_; }
  const VARIANT* get() const { return &value_; }
  VARIANT* operator->() { return &value_; }
  const VARIANT* operator->() const { return &value_; }
  VARTYPE type() const { return V_VT(&value_); }

  void reset() {
    ::VariantClear(&value_);
  }
  // Clears and hands out the slot for an out-parameter.
  VARIANT* put() {
    reset();
    return &value_;
  }
  // Hands the value to the caller, leaving VT_EMPTY.
  VARIANT release() {
    VARIANT out = value_;
    ::VariantInit(&value_);
    return out;
  }

 private:
  VARIANT value_;
};

// VT_BOOL: VARIANT_TRUE or VARIANT_FALSE, as automation spells them.
inline UniqueVariant BoolVariant(bool on) {
  UniqueVariant value;
  V_VT(value.get()) = VT_BOOL;
  V_BOOL(value.get()) = on ? VARIANT_TRUE : VARIANT_FALSE;
  return value;
}

// VT_I4.
inline UniqueVariant LongVariant(long number) {
  UniqueVariant value;
  V_VT(value.get()) = VT_I4;
  V_I4(value.get()) = number;
  return value;
}

// VT_BSTR holding a copy of `text`; VT_EMPTY when out of memory.
inline UniqueVariant TextVariant(std::wstring_view text) {
  UniqueVariant value;
  if (BSTR copy = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    V_VT(value.get()) = VT_BSTR;
    V_BSTR(value.get()) = copy;
  }
  return value;
}

// VT_DISPATCH holding a reference of its own to `object` (which may be null).
inline UniqueVariant DispatchVariant(IDispatch* object) {
  UniqueVariant value;
  V_VT(value.get()) = VT_DISPATCH;
  V_DISPATCH(value.get()) = ComPtr<IDispatch>(object).release();
  return value;
}

// VT_UNKNOWN holding a reference of its own to `object` (which may be null).
inline UniqueVariant UnknownVariant(IUnknown* object) {
  UniqueVariant value;
  V_VT(value.get()) = VT_UNKNOWN;
  V_UNKNOWN(value.get()) = ComPtr<IUnknown>(object).release();
  return value;
}

}  // namespace common
