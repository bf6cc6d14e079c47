#include "traylume/class_factory.h"

#include <atomic>

#include "common/com_object.h"
#include "common/module_lock.h"

namespace traylume {
namespace {

// Server locks taken through IClassFactory::LockServer, so that an unlock
// without a lock cannot eat into the count of live objects.
std::atomic<long> serverLocks{0};

class ClassFactory final : public common::ComObject<IClassFactory> {
 public:
  explicit ClassFactory(CreateFunction create) : create_(create) {}

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, object);
  }

  // A server lock counts like a live object: DllCanUnloadNow reads both.
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) {
      ++serverLocks;
      common::module_lock::Add();
      return S_OK;
    }
    long held = serverLocks.load();
    while (held > 0 && !serverLocks.compare_exchange_weak(held, held - 1)) {
    }
    if (held > 0) common::module_lock::Remove();
    return S_OK;
  }

 private:
  CreateFunction create_;
};

}  // namespace

HRESULT GetClassFactory(const ClassEntry* classes, size_t count, REFCLSID clsid, REFIID iid, void** factory) {
  if (!factory) return E_POINTER;
  *factory = nullptr;
  for (size_t i = 0; i < count; ++i) {
    if (*classes[i].clsid != clsid) continue;
    return common::MakeAndQuery<ClassFactory>(iid, factory, classes[i].create);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace traylume
