#pragma once
// The one way to implement a COM object: derive from ComObject<IFoo, IBar>
// and create with make<T>(), or with MakeAndQuery<T>() to hand it out
// through an out-parameter. QueryInterface walks the interface list; an
// object that answers more (a base interface, an IID known only at run time)
// overrides QueryExtra.

#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <new>
#include <type_traits>
#include <utility>

#include "common/com_ptr.h"
#include "common/hresult.h"
#include "common/module_lock.h"

namespace common {

template <typename First, typename... Rest>
class ComObject : public First, public Rest... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown) {
      *out = static_cast<IUnknown*>(static_cast<First*>(this));
    } else if (!Find<First, Rest...>(iid, out)) {
      *out = QueryExtra(iid);
    }
    if (!*out) return E_NOINTERFACE;
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const long left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  ComObject() { module_lock::Add(); }
  virtual ~ComObject() { module_lock::Remove(); }

  // Further interfaces; returns the pointer (no AddRef) or nullptr.
  virtual void* QueryExtra(REFIID) { return nullptr; }

  // The IUnknown of this object, for handing out as the identity.
  IUnknown* Identity() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

 private:
  template <typename I, typename... Is>
  bool Find(REFIID iid, void** out) {
    if (iid == __uuidof(I)) {
      *out = static_cast<I*>(this);
      return true;
    }
    if constexpr (sizeof...(Is) > 0) {
      return Find<Is...>(iid, out);
    } else {
      return false;
    }
  }

  std::atomic<long> references_{0};
};

// Creates a T and hands out its first reference.
template <typename T, typename... Args>
ComPtr<T> make(Args&&... args) {
  T* object = new (std::nothrow) T(std::forward<Args>(args)...);
  return ComPtr<T>(object);
}

namespace detail {
template <typename T, typename = void>
struct HasInitialize : std::false_type {};
template <typename T>
struct HasInitialize<T, std::void_t<decltype(std::declval<T&>().Initialize())>> : std::true_type {};
}  // namespace detail

// Creates a T and hands it out as interface `iid` through `out`. A T whose
// making can fail has `HRESULT Initialize()`: it runs first, and its failure
// is the answer (the object then goes).
template <typename T, typename... Args>
HRESULT MakeAndQuery(REFIID iid, void** out, Args&&... args) {
  if (!out) return E_POINTER;
  *out = nullptr;
  const ComPtr<T> object = make<T>(std::forward<Args>(args)...);
  if (!object) RETURN_HR(E_OUTOFMEMORY);
  if constexpr (detail::HasInitialize<T>::value) RETURN_IF_FAILED(object->Initialize());
  return object->QueryInterface(iid, out);
}

}  // namespace common
