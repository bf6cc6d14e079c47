#pragma once
// Owner of a VARIANT: cleared when it goes.

#include <windows.h>
#include <oleauto.h>

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

}  // namespace common
