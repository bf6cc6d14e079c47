// Gives a package that wixl built its Japanese names: wixl cannot take text
// beyond ASCII, so the package is made in English and this tool, run under
// Wine at packaging time, sets through the Windows Installer API:
//
//   - the database's code page, 932 (Japanese);
//   - ProductName, which the installed programs list shows;
//   - the names of the Start menu shortcuts to the program and to the
//     Japanese reference page;
//   - the message that refuses to replace a newer version;
//   - the summary's code page, title and subject.
//
// Nothing else of the package changes. Every step that fails ends the tool
// with exit code 1 and a line that names the step.
//
// usage: japanese_names PACKAGE.msi x86|x64 VERSION

#include <windows.h>
#include <ole2.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>

#include <cstdio>
#include <string>

#include "app/texts.h"
#include "common/unique_handle.h"
#include "common/text.h"

namespace {

// The program's own name, as its window's title says it.
constexpr const wchar_t* kProductName = app::texts::kTitle;
constexpr wchar_t kX64Suffix[] = L" (x64)";
constexpr wchar_t kReferenceName[] = L"Traylumeコントロール リファレンス";
// The message before and after the product's name.
constexpr wchar_t kDowngradeBefore[] = L"より新しいバージョンの ";
constexpr wchar_t kDowngradeAfter[] = L" がインストールされています。";
constexpr wchar_t kSummaryTitle[] = L"インストール データベース";
// Shortcut names are file names: an 8.3 name, then the long one.
constexpr wchar_t kProgramShortName[] = L"TRAYSMPL|";
constexpr wchar_t kReferenceShortName[] = L"TRAYREF|";
constexpr UINT kJapaneseCodePage = 932;

struct MsiHandleTraits {
  using Type = MSIHANDLE;
  static MSIHANDLE Invalid() { return 0; }
  static void Close(MSIHANDLE handle) { ::MsiCloseHandle(handle); }
};
using MsiHandle = common::UniqueHandle<MsiHandleTraits>;

bool Succeeded(UINT result, const char* step) {
  if (result == ERROR_SUCCESS) return true;
  std::fprintf(stderr, "japanese_names: %s failed (error %u)\n", step, result);
  return false;
}

// Runs `query` with `value` for its one parameter.
bool Execute(MSIHANDLE database, const wchar_t* query, const std::wstring& value, const char* step) {
  MsiHandle view;
  MsiHandle record(::MsiCreateRecord(1));
  return Succeeded(::MsiDatabaseOpenViewW(database, query, view.put()), step) &&
         Succeeded(::MsiRecordSetStringW(record.get(), 1, value.c_str()), step) &&
         Succeeded(::MsiViewExecute(view.get(), record.get()), step) &&
         Succeeded(::MsiViewClose(view.get()), step);
}

// The one string `query` selects; empty when it selects none.
std::wstring Select(MSIHANDLE database, const wchar_t* query) {
  MsiHandle view;
  MsiHandle row;
  if (::MsiDatabaseOpenViewW(database, query, view.put()) != ERROR_SUCCESS ||
      ::MsiViewExecute(view.get(), 0) != ERROR_SUCCESS || ::MsiViewFetch(view.get(), row.put()) != ERROR_SUCCESS) {
    return {};
  }
  wchar_t text[512] = {};
  DWORD length = 512;
  if (::MsiRecordGetStringW(row.get(), 1, text, &length) != ERROR_SUCCESS) return {};
  return text;
}

// Sets a value and reads it back: an UPDATE that matches no row succeeds
// without a word.
bool Set(MSIHANDLE database, const wchar_t* update, const wchar_t* select, const std::wstring& value,
         const char* step) {
  if (!Execute(database, update, value, step)) return false;
  if (Select(database, select) == value) return true;
  std::fprintf(stderr, "japanese_names: %s changed no row\n", step);
  return false;
}

// The database's code page, set by importing the _ForceCodepage table.
bool SetCodePage(MSIHANDLE database) {
  wchar_t folder[MAX_PATH] = {};
  wchar_t file[MAX_PATH] = {};
  if (!::GetTempPathW(MAX_PATH, folder) || !::GetTempFileNameW(folder, L"cp", 0, file)) {
    std::fprintf(stderr, "japanese_names: no temporary file for the code page\n");
    return false;
  }
  const std::wstring path = file;
  const std::wstring table = path.substr(path.find_last_of(L'\\') + 1);
  const std::string contents = "\r\n\r\n" + std::to_string(kJapaneseCodePage) + "\t_ForceCodepage\r\n";
  HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  const bool wrote = out != INVALID_HANDLE_VALUE &&
                     ::WriteFile(out, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
                     written == contents.size();
  if (out != INVALID_HANDLE_VALUE) ::CloseHandle(out);
  const bool imported = wrote && Succeeded(::MsiDatabaseImportW(database, folder, table.c_str()), "the code page");
  ::DeleteFileW(path.c_str());
  return imported;
}

// `text` in the Japanese code page, as the summary keeps its strings; false
// when a character has no place in it.
bool InJapanese(const std::wstring& text, std::string* bytes) {
  BOOL lost = FALSE;
  const int size = ::WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0,
                                         nullptr, &lost);
  if (size <= 0 || lost) return false;
  bytes->assign(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, bytes->data(), size, nullptr,
                        nullptr);
  return true;
}

// The summary's strings are bytes of its code page: they go in converted
// here, not in whatever code page Wine's process happens to have.
bool SetSummary(MSIHANDLE database, const std::wstring& subject) {
  MsiHandle summary;
  std::string title;
  std::string subjectBytes;
  const char* step = "the summary";
  if (!InJapanese(kSummaryTitle, &title) || !InJapanese(subject, &subjectBytes)) {
    std::fprintf(stderr, "japanese_names: the summary's text is not in code page %u\n", kJapaneseCodePage);
    return false;
  }
  return Succeeded(::MsiGetSummaryInformationW(database, nullptr, 3, summary.put()), step) &&
         Succeeded(::MsiSummaryInfoSetPropertyW(summary.get(), PID_CODEPAGE, VT_I2, kJapaneseCodePage, nullptr,
                                                nullptr),
                   step) &&
         Succeeded(::MsiSummaryInfoSetPropertyA(summary.get(), PID_TITLE, VT_LPSTR, 0, nullptr, title.c_str()),
                   step) &&
         Succeeded(::MsiSummaryInfoSetPropertyA(summary.get(), PID_SUBJECT, VT_LPSTR, 0, nullptr,
                                                subjectBytes.c_str()),
                   step) &&
         Succeeded(::MsiSummaryInfoPersist(summary.get()), step);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4 || (std::wstring(argv[2]) != L"x86" && std::wstring(argv[2]) != L"x64")) {
    std::fprintf(stderr, "usage: japanese_names PACKAGE.msi x86|x64 VERSION\n");
    return 1;
  }
  const std::wstring product = std::wstring(kProductName) + (std::wstring(argv[2]) == L"x64" ? kX64Suffix : L"");
  const std::wstring downgrade = kDowngradeBefore + product + kDowngradeAfter;
  MsiHandle database;
  const bool done =
      Succeeded(::MsiOpenDatabaseW(argv[1], MSIDBOPEN_TRANSACT, database.put()), "opening the package") &&
      SetCodePage(database.get()) &&
      Set(database.get(), L"UPDATE `Property` SET `Value` = ? WHERE `Property` = 'ProductName'",
          L"SELECT `Value` FROM `Property` WHERE `Property` = 'ProductName'", product, "ProductName") &&
      Set(database.get(), L"UPDATE `Shortcut` SET `Name` = ? WHERE `Shortcut` = 'StartMenuShortcut'",
          L"SELECT `Name` FROM `Shortcut` WHERE `Shortcut` = 'StartMenuShortcut'", kProgramShortName + product,
          "the program's shortcut") &&
      Set(database.get(), L"UPDATE `Shortcut` SET `Name` = ? WHERE `Shortcut` = 'ReferenceShortcut'",
          L"SELECT `Name` FROM `Shortcut` WHERE `Shortcut` = 'ReferenceShortcut'",
          std::wstring(kReferenceShortName) + kReferenceName, "the reference's shortcut") &&
      Set(database.get(),
          L"UPDATE `LaunchCondition` SET `Description` = ? WHERE `Condition` = 'NOT WIX_DOWNGRADE_DETECTED'",
          L"SELECT `Description` FROM `LaunchCondition` WHERE `Condition` = 'NOT WIX_DOWNGRADE_DETECTED'", downgrade,
          "the downgrade message") &&
      SetSummary(database.get(), product + L" " + argv[3]) &&
      Succeeded(::MsiDatabaseCommit(database.get()), "saving the package");
  return done ? 0 : 1;
}
