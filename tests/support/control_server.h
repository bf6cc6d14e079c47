#pragma once
// Traylume.ocx as the tests reach it: loaded from the folder of the test
// program through its exported entry points, so no test needs it
// registered, and kept loaded for the whole run.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "common/com_ptr.h"

namespace support {

// The loaded control module (null when it could not be loaded).
HMODULE ControlModule();
std::wstring ControlPath();

// A new control, as its class factory makes it.
HRESULT CreateControl(common::ComPtr<IDispatch>* control);

// The module's exports.
HRESULT ControlClassObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT ControlCanUnloadNow();
HRESULT RegisterControl();
HRESULT UnregisterControl();

}  // namespace support
