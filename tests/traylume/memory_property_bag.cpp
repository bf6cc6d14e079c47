#include "tests/traylume/memory_property_bag.h"

namespace traylume_tests {

void MemoryPropertyBag::Set(const std::wstring& key, const VARIANT& value) {
  common::UniqueVariant copy;
  ::VariantCopy(copy.get(), const_cast<VARIANT*>(&value));
  for (auto& entry : values) {
    if (entry.first == key) {
      entry.second = std::move(copy);
      return;
    }
  }
  values.emplace_back(key, std::move(copy));
}

const VARIANT* MemoryPropertyBag::Find(const std::wstring& key) const {
  for (const auto& entry : values) {
    if (entry.first == key) return entry.second.get();
  }
  return nullptr;
}

STDMETHODIMP MemoryPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  reads.push_back(name);
  const VARIANT* stored = Find(name);
  if (!stored) return E_INVALIDARG;
  const VARTYPE wanted = V_VT(value);
  ::VariantInit(value);
  if (wanted == VT_EMPTY) return ::VariantCopy(value, const_cast<VARIANT*>(stored));
  return ::VariantChangeType(value, const_cast<VARIANT*>(stored), 0, wanted);
}

STDMETHODIMP MemoryPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  if (!name || !value) return E_POINTER;
  writes.push_back(name);
  Set(name, *value);
  return S_OK;
}

STDMETHODIMP RecordingErrorLog::AddError(LPCOLESTR name, EXCEPINFO* info) {
  errors.emplace_back(name ? name : L"", info && info->bstrDescription ? info->bstrDescription : L"");
  return S_OK;
}

}  // namespace traylume_tests
