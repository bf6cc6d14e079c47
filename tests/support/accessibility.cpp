#include "tests/support/accessibility.h"

#include <oleacc.h>

#include "common/bstr.h"
#include "common/com_ptr.h"
#include "common/text.h"
#include "common/variant.h"

namespace support {

void PrintTo(const Heard& heard, std::ostream* out) {
  *out << "\"" << common::Utf8(heard.name) << "\" role " << heard.role << " \"" << common::Utf8(heard.description)
       << "\"";
}

Heard HeardOf(HWND window) {
  Heard heard;
  common::ComPtr<IAccessible> accessible;
  if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          accessible.put_void()))) {
    return heard;
  }
  VARIANT self;
  V_VT(&self) = VT_I4;
  V_I4(&self) = CHILDID_SELF;
  common::UniqueBstr name;
  common::UniqueBstr description;
  common::UniqueVariant role;
  if (SUCCEEDED(accessible->get_accName(self, name.put())) && name.get()) heard.name = name.str();
  if (SUCCEEDED(accessible->get_accDescription(self, description.put())) && description.get()) {
    heard.description = description.str();
  }
  if (SUCCEEDED(accessible->get_accRole(self, role.put())) && role.type() == VT_I4) heard.role = V_I4(role.get());
  return heard;
}

namespace {

BOOL CALLBACK HearOne(HWND child, LPARAM all) {
  (*reinterpret_cast<std::map<int, Heard>*>(all))[::GetDlgCtrlID(child)] = HeardOf(child);
  return TRUE;
}

}  // namespace

std::map<int, Heard> HeardOfEveryControl(HWND form) {
  std::map<int, Heard> heard;
  ::EnumChildWindows(form, &HearOne, reinterpret_cast<LPARAM>(&heard));
  return heard;
}

}  // namespace support
