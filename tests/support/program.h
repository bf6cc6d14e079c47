#pragma once
// A program of the build started by a test, its standard output and error
// going to a file of its own; the process ends with the object.

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace support {

// The lines of the file at `path`, without their line ends.
inline std::vector<std::string> FileLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
  return lines;
}

class Program {
 public:
  static constexpr DWORD kPatienceMs = 60000;

  explicit Program(std::wstring commandLine) {
    wchar_t folder[MAX_PATH];
    wchar_t file[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    ::GetTempFileNameW(folder, L"out", 0, file);
    output_ = file;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE out = ::CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                               0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = out;
    ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process_);
    ::CloseHandle(process_.hThread);
    ::CloseHandle(out);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    ::TerminateProcess(process_.hProcess, 99);  // no effect once it has ended
    ::CloseHandle(process_.hProcess);
    ::DeleteFileW(output_.c_str());
  }

  // What it printed so far, line by line.
  std::vector<std::string> Printed() const { return FileLines(std::string(output_.begin(), output_.end())); }
  // What it printed, once that is `count` lines or it ended (or the patience ran out).
  std::vector<std::string> PrintedOnce(size_t count) const {
    const ULONGLONG deadline = ::GetTickCount64() + kPatienceMs;
    while (Printed().size() < count && ::GetTickCount64() < deadline) {
      if (::WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) break;
    }
    return Printed();
  }
  // Its top-level window of class `className` once `ready`; null after the patience.
  template <typename Ready>
  HWND WaitForWindow(const wchar_t* className, Ready ready) const {
    for (ULONGLONG deadline = ::GetTickCount64() + kPatienceMs; ::GetTickCount64() < deadline; ::Sleep(20)) {
      HWND window = nullptr;
      while (ready() && (window = ::FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == process_.dwProcessId) return window;
      }
    }
    return nullptr;
  }

  // The exit code, or 259 (STILL_ACTIVE) when it does not end in time.
  DWORD ExitCode() const {
    ::WaitForSingleObject(process_.hProcess, kPatienceMs);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  std::wstring output_;
  PROCESS_INFORMATION process_{};
};

}  // namespace support
