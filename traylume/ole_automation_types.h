#pragma once
// Stands in for the declarations of ole_automation_types.idl in the header
// that widl writes from traylume.idl: the SDK already has them.

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>
