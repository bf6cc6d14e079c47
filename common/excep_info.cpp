#include "common/excep_info.h"

#include <oleauto.h>

#include <utility>

namespace common {

void UniqueExcepInfo::Complete() {
  if (auto fill = std::exchange(info_.pfnDeferredFillIn, nullptr)) fill(&info_);
}

std::wstring UniqueExcepInfo::description() const {
  const BSTR text = info_.bstrDescription;
  return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

HRESULT UniqueExcepInfo::code() const {
  if (info_.scode != S_OK) return info_.scode;
  if (info_.wCode != 0) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, info_.wCode);
  return S_OK;
}

void UniqueExcepInfo::reset() {
  ::SysFreeString(info_.bstrSource);
  ::SysFreeString(info_.bstrDescription);
  ::SysFreeString(info_.bstrHelpFile);
  info_ = EXCEPINFO{};
}

}  // namespace common
