#pragma once
// Owner of an EXCEPINFO: its strings are freed when it goes.

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace common {

class UniqueExcepInfo {
 public:
  UniqueExcepInfo() = default;
  UniqueExcepInfo(const UniqueExcepInfo&) = delete;
  UniqueExcepInfo& operator=(const UniqueExcepInfo&) = delete;
  ~UniqueExcepInfo() { reset(); }

  EXCEPINFO* get() { return &info_; }
  const EXCEPINFO* operator->() const { return &info_; }

  // Fills in what the object left to be filled on demand (pfnDeferredFillIn).
  void Complete();
  // The description, empty when there is none.
  std::wstring description() const;
  // The object's own code: scode, else wCode as a FACILITY_DISPATCH HRESULT, else S_OK.
  HRESULT code() const;
  // Frees the strings and zeroes the block.
  void reset();

 private:
  EXCEPINFO info_{};
};

}  // namespace common
