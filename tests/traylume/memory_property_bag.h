#pragma once
// A property bag in memory, as a form keeps the saved state of a control:
// values by key, in the order written, with a record of every key read and
// written. A key it does not have reads as E_INVALIDARG, as bags answer.

#include <windows.h>
#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

#include "common/com_object.h"
#include "common/variant.h"

namespace traylume_tests {

class MemoryPropertyBag final : public common::ComObject<IPropertyBag> {
 public:
  std::vector<std::pair<std::wstring, common::UniqueVariant>> values;
  std::vector<std::wstring> reads;
  std::vector<std::wstring> writes;

  // Stores a copy of `value` under `key` (replacing one of that key).
  void Set(const std::wstring& key, const VARIANT& value);
  // The value under `key`, or nullptr.
  const VARIANT* Find(const std::wstring& key) const;

  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* errors) override;
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;
};

// An error log that records the keys it is told about and their descriptions.
class RecordingErrorLog final : public common::ComObject<IErrorLog> {
 public:
  std::vector<std::pair<std::wstring, std::wstring>> errors;  // key, description
  STDMETHODIMP AddError(LPCOLESTR name, EXCEPINFO* info) override;
};

}  // namespace traylume_tests
