#pragma once
// Owners of the attribute blocks a type library and its type infos lend out:
// each is given back when its owner goes.

#include <windows.h>
#include <oaidl.h>

namespace common {

template <typename Source, typename Attr, HRESULT (STDMETHODCALLTYPE Source::*Get)(Attr**),
          void (STDMETHODCALLTYPE Source::*Release)(Attr*)>
class LentAttr {
 public:
  explicit LentAttr(Source* source) : source_(source) {
    if (!source_ || FAILED((source_->*Get)(&attr_))) attr_ = nullptr;
  }
  LentAttr(const LentAttr&) = delete;
  LentAttr& operator=(const LentAttr&) = delete;
  ~LentAttr() {
    if (attr_) (source_->*Release)(attr_);
  }
  // Null when the source gave none.
  const Attr* get() const { return attr_; }
  const Attr* operator->() const { return attr_; }
  explicit operator bool() const { return attr_ != nullptr; }

 private:
  Source* source_;
  Attr* attr_ = nullptr;
};

using TypeAttr = LentAttr<ITypeInfo, TYPEATTR, &ITypeInfo::GetTypeAttr, &ITypeInfo::ReleaseTypeAttr>;
using LibAttr = LentAttr<ITypeLib, TLIBATTR, &ITypeLib::GetLibAttr, &ITypeLib::ReleaseTLibAttr>;

}  // namespace common
