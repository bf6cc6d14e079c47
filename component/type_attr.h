#pragma once
// Owner of a TYPEATTR: given back to its type info when it goes.

#include <windows.h>
#include <oaidl.h>

namespace traylume {

class TypeAttr {
 public:
  explicit TypeAttr(ITypeInfo* info) : info_(info) {
    if (!info_ || FAILED(info_->GetTypeAttr(&attr_))) attr_ = nullptr;
  }
  TypeAttr(const TypeAttr&) = delete;
  TypeAttr& operator=(const TypeAttr&) = delete;
  ~TypeAttr() {
    if (attr_) info_->ReleaseTypeAttr(attr_);
  }
  // Null when the type info gave none.
  const TYPEATTR* get() const { return attr_; }

 private:
  ITypeInfo* info_;
  TYPEATTR* attr_ = nullptr;
};

}  // namespace traylume
