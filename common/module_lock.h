#pragma once
// Counts the live COM objects and server locks of this module: a DLL may
// unload, and a test may end, only when it reads zero.

namespace common::module_lock {

void Add();
void Remove();
long Count();

}  // namespace common::module_lock
