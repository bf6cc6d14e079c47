#pragma once
// The thread an apartment-threaded object belongs to. Nothing marshals a
// call that reaches the object on another thread (a raw pointer handed to
// a worker, or a control created without registration), and its window and
// its events belong to the thread that made it: COM's rule is to refuse
// such a call with RPC_E_WRONG_THREAD.

#include <windows.h>

#include "common/hresult.h"

namespace traylume {

class HomeThread {
 public:
  bool IsCurrent() const { return ::GetCurrentThreadId() == id_; }

 private:
  DWORD id_ = ::GetCurrentThreadId();
};

}  // namespace traylume

// Refuses, reported, a call on any thread but `home`'s; nothing changes.
#define RETURN_IF_NOT_HOME_THREAD(home)                     \
  do {                                                      \
    if (!(home).IsCurrent()) RETURN_HR(RPC_E_WRONG_THREAD); \
  } while (0)
