#pragma once
// While a ClassesGuard lives, keys under HKLM\Software\Classes may change:
// it copies them aside when it is made and puts them back as they were when
// it goes (keys made since are removed), also when the test fails.

#include <windows.h>

#include <string>
#include <vector>

namespace support {

class ClassesGuard {
 public:
  // `keys` under Software\Classes, and every top-level key whose name begins with `prefix`.
  ClassesGuard(std::vector<std::wstring> keys, std::wstring prefix);
  ClassesGuard(const ClassesGuard&) = delete;
  ClassesGuard& operator=(const ClassesGuard&) = delete;
  ~ClassesGuard();

 private:
  // The keys guarded, as they are named now.
  std::vector<std::wstring> Guarded() const;

  std::vector<std::wstring> keys_;
  std::wstring prefix_;
  std::vector<std::wstring> saved_;  // the keys that existed; saved_[i] is in the backup's key i
};

}  // namespace support
