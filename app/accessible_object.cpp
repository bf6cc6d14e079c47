#include "app/accessible_object.h"

#include <oleacc.h>

#include <string>

#include "common/com_object.h"
#include "common/hresult.h"
#include "common/unique_handle.h"

namespace app {
namespace {

bool IsSelf(const VARIANT& child) { return V_VT(&child) == VT_I4 && V_I4(&child) == CHILDID_SELF; }

// The accessibility library is loaded when a screen reader first asks, not
// at start-up, which it would slow down for everyone.
template <typename Function>
Function Export(HMODULE module, const char* name) {
  // The detour through void (*)() converts GetProcAddress's result without
  // a cast-function-type warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The standard object with the name and role of the window itself; its
// children, states, places and actions are the standard object's.
class NamedAccessible final : public common::ComObject<IAccessible, IOleWindow> {
 public:
  NamedAccessible(common::UniqueModule library, common::ComPtr<IAccessible> standard, HWND window,
                  std::wstring name, long role)
      : library_(std::move(library)),
        standard_(std::move(standard)),
        window_(window),
        name_(std::move(name)),
        role_(role) {}

  // IDispatch: the standard object's.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override {
    return standard_->Invoke(id, iid, locale, flags, params, result, exception, argError);
  }

  // IAccessible: the name and role of the window itself are its own.
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = ::SysAllocString(name_.c_str());
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child)) return standard_->get_accRole(child, role);
    if (!role) return E_POINTER;
    V_VT(role) = VT_I4;
    V_I4(role) = role_;
    return S_OK;
  }
  STDMETHODIMP get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
  STDMETHODIMP get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override { return standard_->get_accValue(child, value); }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override { return standard_->get_accState(child, state); }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override { return standard_->get_accHelp(child, help); }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  STDMETHODIMP get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  STDMETHODIMP get_accSelection(VARIANT* children) override { return standard_->get_accSelection(children); }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  STDMETHODIMP accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override { return standard_->accHitTest(x, y, child); }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  // IOleWindow: which window it is (WindowFromAccessibleObject asks).
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

 protected:
  void* QueryExtra(REFIID iid) override {
    return iid == IID_IDispatch ? static_cast<IDispatch*>(static_cast<IAccessible*>(this)) : nullptr;
  }

 private:
  common::UniqueModule library_;  // holds the standard object's code: goes last
  common::ComPtr<IAccessible> standard_;
  HWND window_;
  std::wstring name_;
  long role_;
};

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM flags, LPARAM objectId, const wchar_t* name, long role) {
  if (static_cast<LONG>(objectId) != OBJID_CLIENT) return 0;
  common::UniqueModule library(::LoadLibraryW(L"oleacc.dll"));
  const auto createStandard = Export<decltype(&::CreateStdAccessibleObject)>(library.get(), "CreateStdAccessibleObject");
  const auto resultFromObject = Export<decltype(&::LresultFromObject)>(library.get(), "LresultFromObject");
  if (!createStandard || !resultFromObject) return 0;
  common::ComPtr<IAccessible> standard;
  // __uuidof, not IID_IAccessible: mingw-w64's 64-bit import library gives
  // that name the address of an import thunk, not the GUID.
  const HRESULT created = createStandard(window, OBJID_CLIENT, __uuidof(IAccessible), standard.put_void());
  if (FAILED(LOG_IF_FAILED(created))) return 0;
  auto named = common::make<NamedAccessible>(std::move(library), std::move(standard), window, name ? name : L"", role);
  if (!named) return 0;
  const LRESULT result = resultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(named.get()));
  return result < 0 ? 0 : result;
}

}  // namespace app
