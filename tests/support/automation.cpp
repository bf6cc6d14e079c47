#include "tests/support/automation.h"

#include <iterator>

#include "common/bstr.h"
#include "common/excep_info.h"

namespace support {

Outcome Invoke(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments,
               std::optional<DISPID> named) {
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());  // rgvarg is last first
  DISPID namedId = named.value_or(0);
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), named ? &namedId : nullptr,
                    static_cast<UINT>(reversed.size()), named ? 1u : 0u};
  Outcome outcome;
  common::UniqueExcepInfo info;
  outcome.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, outcome.value.put(), info.get(),
                              &outcome.argError);
  info.Complete();
  outcome.scode = info->scode;
  outcome.description = info.description();
  return outcome;
}

std::wstring Describe(const VARIANT& value) {
  const VARTYPE base = V_VT(&value) & VT_TYPEMASK;
  const bool byReference = (V_VT(&value) & VT_BYREF) != 0;
  const wchar_t* names[] = {L"VT_EMPTY", nullptr, L"VT_I2", L"VT_I4", nullptr,  nullptr,
                            nullptr,     nullptr, L"VT_BSTR", L"VT_DISPATCH", nullptr, L"VT_BOOL"};
  if (base >= std::size(names) || !names[base]) return L"VT " + std::to_wstring(V_VT(&value));
  std::wstring text = std::wstring(names[base]) + (byReference ? L"|VT_BYREF" : L"");
  if (base == VT_EMPTY || base == VT_DISPATCH) return text;
  // Numbers and Booleans as numbers (true is -1), texts as they are.
  common::UniqueVariant number;
  common::UniqueVariant shown;
  const VARIANT* source = &value;
  if (base != VT_BSTR && SUCCEEDED(::VariantChangeType(number.get(), const_cast<VARIANT*>(&value), 0, VT_I4))) {
    source = number.get();
  }
  if (FAILED(::VariantChangeType(shown.get(), const_cast<VARIANT*>(source), 0, VT_BSTR))) return text + L" ?";
  const BSTR chars = V_BSTR(shown.get());
  return text + L" " + (chars ? std::wstring(chars, ::SysStringLen(chars)) : std::wstring());
}

std::wstring Shown(IDispatch* object, DISPID id) {
  const Outcome got = Get(object, id);
  return SUCCEEDED(got.hr) ? Describe(*got.value.get()) : L"failed " + std::to_wstring(got.hr);
}

}  // namespace support
