#pragma once
// Finding the dispinterface a control raises its events through.

#include <windows.h>
#include <ocidl.h>

namespace component {

// The control's default source dispinterface: IProvideClassInfo2::GetGUID
// (GUIDKIND_DEFAULT_SOURCE_DISP_IID), else the [default, source] interface
// of the coclass that IProvideClassInfo::GetClassInfo describes.
HRESULT FindEventInterface(IUnknown* control, IID* eventInterface);

}  // namespace component
