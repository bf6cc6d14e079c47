#!/usr/bin/env bash
# The packages of tools/dist.sh, tried in the test prefix as a user would:
#
#   - the installer package installs silently, for all users;
#   - the registry then holds exactly what the control's own registration
#     writes (registering the installed file by itself changes nothing);
#   - a scripting client in a new process creates the control by its ProgID;
#   - the installed program starts with it, and so does a lone copy of the
#     program (it can only find the control through the registry); both
#     end on WM_CLOSE with exit code 0;
#   - removing the package leaves no file, key or shortcut of ours;
#   - the lone copy, with the control neither registered nor beside it,
#     says in one message what it tried and why that failed, and ends with 1;
#   - the program unzipped into an empty folder starts unregistered.
#
# The prefix is shared with tests that need the control unregistered: the
# package is removed again whatever happens. Where the machine cannot run
# 32-bit programs the test does what it can in the 64-bit prefix, says what
# it skipped and ends with 77 (ctest reports it as skipped).
#
# usage: install_test.sh PACKAGE BIN
#   PACKAGE  dist/TraylumeSample-<version> (.msi and .zip are added)
#   BIN      the build's bin folder (close_window.exe, Traylume.ocx)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/wine-env.sh"

package=$1 bin=$2
msi=$package.msi zip=$package.zip
form=TraylumeSample.Form1
progids=(TraylumeControl.Traylume TraylumeControl.Traylume.1)
failures=0 skipped=()
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
# "ok: TEXT" when no check failed since the count was $1.
passed_since() { [ "$failures" -eq "$1" ] && pass "$2"; }
win() { "$WINELOADER" "$@"; }
windows_path() { win winepath -w "$1" 2>/dev/null; }
scratch=$(mktemp -d)
program_pid=

for file in "$msi" "$zip"; do
  [ -f "$file" ] || { echo "FAIL: $file is missing (tools/dist.sh makes it)"; exit 1; }
done
msi_path=$(windows_path "$msi")

cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  win msiexec /x "$msi_path" /qn >/dev/null 2>&1
  # A failed comparison may leave the control's own registration behind.
  [ "$TRAYLUME_ARCH" = i686 ] && win regsvr32 /u /s "$(windows_path "$bin/Traylume.ocx")" >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT

# What the package says about itself: its product code (the key of its
# entry in the installed programs list) and the keys it owns ("*" rows).
product_code=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" {print $2}')
mapfile -t owned_keys < <(msiinfo export "$msi" Registry | tr -d '\r' | awk -F'\t' '$4 == "*" {sub(/\\$/, "", $3); print $3}')
for key in "${progids[@]}" "CLSID\\" "TypeLib\\"; do
  printf '%s\n' "${owned_keys[@]}" | grep -qF "$key" || fail "the package does not own a key $key"
done

if [ "$TRAYLUME_ARCH" = i686 ]; then
  view=() folder='C:\Program Files\Traylume'
else
  # A 32-bit package in a 64-bit prefix: the 32-bit registry and folder.
  view=(/reg:32) folder='C:\Program Files (x86)\Traylume'
fi
unix_folder=$(win winepath -u "$folder" 2>/dev/null)
key_exists() { win reg query "$1" "${view[@]}" >/dev/null 2>&1; }
arp_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product_code"
our_keys=("${owned_keys[@]/#/HKLM\\Software\\Classes\\}" "$arp_key")
# HKLM\Software\Classes as text, for comparing, one key a paragraph. A
# value's trailing backslash is dropped: the package can name the folder in
# HELPDIR only as [INSTALLDIR], which ends in one, and the control writes it
# without. The empty keys Installer, Installer\Features, ...\Products and
# ...\UpgradeCodes are left out: the first package installed in a prefix
# makes them for Windows Installer itself, and they stay.
classes_export() { win reg export 'HKLM\Software\Classes' "$(windows_path "$1")" "${view[@]}" /y >/dev/null 2>&1 &&
  iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' | sed 's/\\\\"$/"/' |
  awk -v RS= -v ORS='\n\n' '!/^\[HKEY_LOCAL_MACHINE\\Software\\Classes\\Installer(\\(Features|Products|UpgradeCodes))?\]$/' \
    >"$1.txt"; }
# Wine puts an all-users shortcut into the user's Start menu; Windows into
# the common one. Either counts.
shortcuts() { find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/TraylumeSample.lnk' 2>/dev/null; }

# Starts the program at Windows path $1; its window must come up with no
# message box, and WM_CLOSE must end it with exit code 0.
start_and_close() {
  local said
  win "$1" >/dev/null 2>&1 &
  program_pid=$!
  if said=$(win "$bin/close_window.exe" --wait "$form" 30 2>&1) &&
     said=$(win "$bin/close_window.exe" "$form" 30 2>&1); then
    pass "$2: the window came up and WM_CLOSE ended the program with 0"
  else
    fail "$2: $said"
    kill "$program_pid" 2>/dev/null
  fi
  wait "$program_pid" 2>/dev/null
  program_pid=
}

echo "== install $(basename "$msi")"
# Wine's scripting host registers its own type library the first time it
# runs; let that happen before the first snapshot, which the probes below
# would otherwise seem to have left behind.
win cscript //nologo "$(windows_path "$here/probe.vbs")" "${progids[0]}" >/dev/null 2>&1
classes_export "$scratch/before.reg"
checked=$failures
win msiexec /i "$msi_path" /qn
status=$?
if [ "$status" -eq 0 ]; then pass "msiexec /i exited with 0"; else fail "msiexec /i exited with $status"; fi
for file in TraylumeSample.exe Traylume.ocx; do
  [ -f "$unix_folder/$file" ] || fail "$folder\\$file was not installed"
done
for key in "${our_keys[@]}"; do
  key_exists "$key" || fail "no key $key"
done
[ -n "$(shortcuts)" ] || fail "no Start menu shortcut"
passed_since "$checked" "files, keys, installed programs entry and shortcut are in place"

if [ "$TRAYLUME_ARCH" = i686 ]; then
  classes_export "$scratch/installed.reg"
  if win regsvr32 /s "$folder\\Traylume.ocx" && classes_export "$scratch/registered.reg" &&
     diff -u "$scratch/installed.reg.txt" "$scratch/registered.reg.txt"; then
    pass "the package wrote exactly what the control's own registration writes"
  else
    fail "the package's keys differ from the control's own registration (above)"
  fi

  # Wine's scripting host ends with 0 also after an error: its words decide.
  said=$(win cscript //nologo "$(windows_path "$here/probe.vbs")" "${progids[0]}" 2>&1)
  if grep -q "^created" <<<"$said"; then
    pass "a scripting client creates ${progids[0]}: $(tr -d '\r' <<<"$said")"
  else
    fail "a scripting client cannot create ${progids[0]}: $said"
  fi
  start_and_close "$folder\\TraylumeSample.exe" "the installed program"
  cp "$unix_folder/TraylumeSample.exe" "$scratch/"
  start_and_close "$(windows_path "$scratch/TraylumeSample.exe")" "the program alone in a folder"
else
  skipped+=("comparison with the control's own registration" "creating the control through the registry"
            "starting the installed program" "starting the unzipped program")
fi

echo "== remove"
checked=$failures
win msiexec /x "$msi_path" /qn
status=$?
if [ "$status" -eq 0 ]; then pass "msiexec /x exited with 0"; else fail "msiexec /x exited with $status"; fi
[ -e "$unix_folder" ] && fail "$folder is left: $(ls "$unix_folder")"
for key in "${our_keys[@]}"; do
  key_exists "$key" && fail "key $key is left"
done
[ -z "$(shortcuts)" ] || fail "shortcut left: $(shortcuts)"
classes_export "$scratch/after.reg"
diff -u "$scratch/before.reg.txt" "$scratch/after.reg.txt" || fail "HKLM\\Software\\Classes differs from before (above)"
passed_since "$checked" "no file, key or shortcut is left"

if [ "$TRAYLUME_ARCH" = i686 ]; then
  echo "== unzip $(basename "$zip")"
  mkdir "$scratch/unzipped"
  unzip -q "$zip" -d "$scratch/unzipped" || fail "unzip failed"
  if win cscript //nologo "$(windows_path "$here/probe.vbs")" "${progids[0]}" 2>&1 | grep -q "^created"; then
    fail "${progids[0]} is still registered"
  fi
  echo "== the lone copy without its control"
  win "$(windows_path "$scratch/TraylumeSample.exe")" >/dev/null 2>&1 &
  program_pid=$!
  said=$(win "$bin/close_window.exe" --wait "$form" 30 2>&1)
  ended=$(win "$bin/close_window.exe" '#32770' 30 2>&1)
  wait "$program_pid" 2>/dev/null
  program_pid=
  checked=$failures
  for part in "${progids[0]}" Traylume.ocx 0x800401F3 0x80070002; do
    grep -qF "$part" <<<"$said" || fail "the message does not name $part: $said"
  done
  grep -q "exit code 1" <<<"$ended" || fail "after the message: $ended"
  passed_since "$checked" "one message names the ProgID, the file and each way's reason; exit code 1"
  start_and_close "$(windows_path "$scratch/unzipped/TraylumeSample.exe")" "the unzipped program, unregistered"
fi

if ((failures)); then
  echo "install_tests: $failures failure(s)"
  exit 1
fi
if ((${#skipped[@]})); then
  echo "install_tests: this machine cannot run 32-bit programs; skipped:"
  printf '  - %s\n' "${skipped[@]}"
  exit 77
fi
echo "install_tests: all checks passed"
