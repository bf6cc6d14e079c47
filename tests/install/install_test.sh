#!/usr/bin/env bash
# The packages of tools/dist.sh, tried as a user would, each in a prefix of
# its own kind: the 32-bit package in the 32-bit prefix wherever this
# machine runs 32-bit programs, the 64-bit package in the 64-bit prefix
# always. For each package:
#
#   - an unrelated class is registered in every registry view first, and
#     HKLM\Software\Classes of every view is taken down as text;
#   - the package installs silently, for all users: its files, keys, entry
#     in the installed programs list and Start menu shortcuts (the program,
#     the control's reference) are there; the
#     64-bit package replaces the 32-bit one installed before it;
#   - every view then holds exactly what the controls' own registration
#     writes (registering the installed files by themselves changes nothing),
#     and nothing else changed;
#   - the installed example script runs in the scripting host against the
#     control, created by its ProgID (the 64-bit host the 64-bit control),
#     and prints what the reference shows;
#   - the program finds the registered control: the installed program, a
#     lone copy of it, and for the 64-bit package the 64-bit build of the
#     program alone in a folder; each ends on WM_CLOSE with exit code 0;
#   - the Start menu shortcuts and the entry in the installed programs list
#     bear the window's own Japanese title (and the reference's name);
#   - removing the package leaves no file, key or shortcut of ours, every
#     view is as before, and the unrelated class is intact.
# The program unzipped into an empty folder starts unregistered.
#
# Where the machine cannot run 32-bit programs, the 32-bit view's keys are
# compared with what the 64-bit control's own registration writes, naming
# the 32-bit file (in InprocServer32 and ToolboxBitmap32): both controls
# register from one table, and only the file and the type library's
# platform differ.
#
# The prefixes are shared with tests that need the control unregistered:
# each package is removed again whatever happens.
#
# usage: install_test.sh PACKAGE
#   PACKAGE  dist/TraylumeSample-<version> (.msi, -x64.msi and .zip are added)
# window_driver.exe and the 64-bit program come from the build folders.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/wine-env.sh"

package=$1
bin32=$(build_dir i686)/bin bin64=$(build_dir x86_64)/bin
runs_32bit=no
[ "$TRAYLUME_ARCH" = i686 ] && runs_32bit=yes
form=TraylumeSample.Form1
progids=(TraylumeControl.Traylume TraylumeControl.Traylume.1)
# A class that is not ours, registered before each install: it must come
# through the install and the removal untouched.
bystander='CLSID\{6F1C2B4E-0D7A-4E59-9B83-2A5C7E1D4F60}'
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
# "ok: TEXT" when no check failed since the count was $1.
passed_since() { [ "$failures" -eq "$1" ] && pass "$2"; }
win() { "$WINELOADER" "$@"; }
windows_path() { win winepath -w "$1" 2>/dev/null; }
scratch=$(mktemp -d)
program_pid=
program_title=
installed_msi=

for file in "$package.msi" "$package-x64.msi" "$package.zip"; do
  [ -f "$file" ] || { echo "FAIL: $file is missing (tools/dist.sh makes it)"; exit 1; }
done

# Switches this shell to the prefix of an architecture (i686 or x86_64),
# preparing it when it is new.
use_prefix() {
  TRAYLUME_ARCH=$1
  source "$here/../../tools/wine-env.sh"
  prepare_prefix
  bin=$bin32
  [ "$1" = x86_64 ] && bin=$bin64
}

cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  if [ -n "$installed_msi" ]; then
    for msi in "$package.msi" "$package-x64.msi"; do win msiexec /x "$(windows_path "$msi")" /qn >/dev/null 2>&1; done
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

# HKLM\Software\Classes of registry view $1 (32 or 64; in a 32-bit prefix
# the one view) as text in $2.txt, one key a paragraph; the 64-bit view
# without Wow6432Node, which is the 32-bit view. A value's trailing
# backslash is dropped: the package can name the folder in HELPDIR only as
# [INSTALLDIR], which ends in one, and the control writes it without. The
# empty keys Installer, Installer\Features, ...\Products and
# ...\UpgradeCodes are left out: the first package installed in a prefix
# makes them for Windows Installer itself, and they stay.
classes_export() {
  local view=(/reg:"$1")
  [ "$WINEARCH" = win32 ] && view=()
  win reg export 'HKLM\Software\Classes' "$(windows_path "$2")" "${view[@]}" /y >/dev/null 2>&1 &&
    iconv -f UTF-16 -t UTF-8 "$2" | tr -d '\r' | sed 's/\\\\"$/"/' |
    awk -v RS= -v ORS='\n\n' '!/^\[HKEY_LOCAL_MACHINE\\Software\\Classes\\Installer(\\(Features|Products|UpgradeCodes))?\]$/ &&
                                 !/^\[HKEY_LOCAL_MACHINE\\Software\\Classes\\Wow6432Node[]\\]/' >"$2.txt"
}
# The paragraphs of export $1 that are (with $2 = -v: that are not) the
# package's own keys or below them, key names in lower case (Wine spells
# some parent keys differently in the two views). Windows Installer's own
# records of installed products (Installer\...) are neither.
our_paragraphs() {
  awk -v RS= -v ORS='\n\n' -v keep="${2:-}" -v keys="$(printf '%s\n' "${owned_keys[@]}")" '
    BEGIN { n = split(tolower(keys), list, "\n") }
    { header = tolower(substr($0, 1, index($0, "]"))); ours = 0
      if (index(header, "[hkey_local_machine\\software\\classes\\installer\\") == 1) next
      for (i = 1; i <= n; i++) {
        k = "[hkey_local_machine\\software\\classes\\" list[i]
        if (index(header, k "]") == 1 || index(header, k "\\") == 1) ours = 1
      }
      if (ours == (keep == "-v")) next
      print header substr($0, length(header) + 1) }' "$1.txt"
}
key_exists() {
  local view=(/reg:"$2")
  [ "$WINEARCH" = win32 ] && view=()
  win reg query "$1" "${view[@]}" >/dev/null 2>&1
}
# Wine puts an all-users shortcut into the user's Start menu; Windows into
# the common one. Either counts.
# Ours: the program's and the reference's.
shortcuts() {
  find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Traylume*.lnk' 2>/dev/null
}
# The name the installed programs list shows for key $1 of the $2-bit view.
listed_name() {
  local view=(/reg:"$2")
  [ "$WINEARCH" = win32 ] && view=()
  win reg export "$1" "$(windows_path "$scratch/listed.reg")" "${view[@]}" /y >/dev/null 2>&1 &&
    iconv -f UTF-16 -t UTF-8 "$scratch/listed.reg" | tr -d '\r' | sed -n 's/^"DisplayName"="\(.*\)"$/\1/p'
}

# Starts the program at Windows path $1; its window must come up with no
# message box, and WM_CLOSE must end it with exit code 0. The window's
# title is kept in program_title.
start_and_close() {
  local said
  win "$1" >/dev/null 2>&1 &
  program_pid=$!
  if said=$(win "$bin/window_driver.exe" --wait "$form" 30 2>&1) &&
     program_title=$(sed -n 2p <<<"$said" | tr -d '\r') &&
     said=$(win "$bin/window_driver.exe" "$form" 30 2>&1); then
    pass "$2: the window came up and WM_CLOSE ended the program with 0"
  else
    fail "$2: $said"
    kill "$program_pid" 2>/dev/null
  fi
  wait "$program_pid" 2>/dev/null
  program_pid=
}

# The example script the package installs beside the reference runs in a
# scripting host ($1: cscript's Windows path) against the installed control,
# created by its ProgID, and prints exactly what the reference shows it
# printing, in both languages. Wine's scripting host ends with 0 also after
# an error: its words decide. $3: the folder the package put the program in.
example_runs() {
  local said language shown checked=$failures
  said=$(win "$1" //nologo "$3\docs\examples\tray_balloon.vbs" 2>&1 | tr -d '\r')
  for language in ja en; do
    shown=$(awk '/^```/ { if (inside) exit; inside = /#tray-balloon-output / ; next } inside' \
      "$here/../../docs/reference.$language.md")
    [ -n "$shown" ] && [ "$said" = "$shown" ] ||
      fail "$2: tray_balloon.vbs printed otherwise than reference.$language.md shows: $said"
  done
  passed_since "$checked" "$2 runs tray_balloon.vbs as the reference shows"
}

# Installs, checks and removes one package. $1: x86 or x64.
try_package() {
  local kind=$1 msi=$package.msi views=(32) checked status view
  local folder32='C:\Program Files\Traylume' folder64='C:\Program Files\Traylume'
  if [ "$kind" = x64 ]; then
    msi=$package-x64.msi views=(32 64) folder32='C:\Program Files (x86)\Traylume'
  fi
  local msi_path product_code arp_key unix32 unix64 other system32='C:\windows\system32'
  # The 32-bit tools of a 64-bit prefix.
  [ "$WINEARCH" = win64 ] && system32='C:\windows\syswow64'
  msi_path=$(windows_path "$msi")
  unix32=$(win winepath -u "$folder32" 2>/dev/null) unix64=$(win winepath -u "$folder64" 2>/dev/null)
  # What the package says about itself: its product code (the key of its
  # entry in the installed programs list) and the keys it owns ("*" rows).
  product_code=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" {print $2}')
  mapfile -t owned_keys < <(msiinfo export "$msi" Registry | tr -d '\r' |
    awk -F'\t' '$4 == "*" {sub(/\\$/, "", $3); print $3}' | sort -u)
  for key in "${progids[@]}" "CLSID\\" "TypeLib\\"; do
    printf '%s\n' "${owned_keys[@]}" | grep -qF "$key" || fail "the package does not own a key $key"
  done
  arp_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product_code"

  echo "== install $(basename "$msi") ($WINEARCH prefix)"
  # Wine's scripting host registers its own type library the first time it
  # runs; let that happen before the first snapshot, which the example runs below
  # would otherwise seem to have left behind.
  local example
  example=$(windows_path "$here/../../examples/tray_balloon.vbs")
  win cscript //nologo "$example" >/dev/null 2>&1
  [ "$runs_32bit" = yes ] && win "$system32\\cscript.exe" //nologo "$example" >/dev/null 2>&1
  for view in "${views[@]}"; do
    win reg add "HKLM\\Software\\Classes\\$bystander\\InprocServer32" /ve /d 'C:\windows\bystander.dll' \
      /reg:"$view" /f >/dev/null 2>&1
    key_exists "HKLM\\Software\\Classes\\$bystander\\InprocServer32" "$view" ||
      fail "the unrelated class could not be registered in the $view-bit view"
    classes_export "$view" "$scratch/before$view.reg"
  done
  checked=$failures
  installed_msi=$msi
  if [ "$kind" = x64 ]; then
    # The two packages are alternatives: this one replaces the other.
    win msiexec /i "$(windows_path "$package.msi")" /qn || fail "the 32-bit package did not install"
  fi
  win msiexec /i "$msi_path" /qn
  status=$?
  if [ "$status" -eq 0 ]; then pass "msiexec /i exited with 0"; else fail "msiexec /i exited with $status"; fi
  for file in "$unix32"/{TraylumeSample.exe,Traylume.ocx,docs/reference.{ja,en}.html,docs/examples/tray_balloon.vbs}; do
    [ -f "$file" ] || fail "$file was not installed"
  done
  [ "$kind" = x64 ] && { [ -f "$unix64/Traylume.ocx" ] || fail "$folder64\\Traylume.ocx was not installed"; }
  for view in "${views[@]}"; do
    for key in "${owned_keys[@]}"; do
      key_exists "HKLM\\Software\\Classes\\$key" "$view" || fail "no key $key in the $view-bit view"
    done
  done
  key_exists "$arp_key" "${views[-1]}" || fail "no entry in the installed programs list ($arp_key)"
  if [ "$kind" = x64 ]; then
    other=$(msiinfo export "$package.msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" {print $2}')
    key_exists "${arp_key%\\*}\\$other" 32 && fail "the 32-bit package was not replaced"
  fi
  [ "$(shortcuts | wc -l)" -eq 2 ] || fail "Start menu shortcuts, program and reference: $(shortcuts)"
  passed_since "$checked" "files, keys, installed programs entry and shortcut are in place"

  # Each view against the controls' own registration, in the order a user
  # would register them by hand: the 32-bit control, then the 64-bit one
  # (the type library's key is one for both views; the last one names its
  # folder).
  checked=$failures
  for view in "${views[@]}"; do classes_export "$view" "$scratch/installed$view.reg"; done
  if [ "$runs_32bit" = yes ]; then
    win "$system32\\regsvr32.exe" /s "$folder32\\Traylume.ocx" || fail "the 32-bit control's registration failed"
  fi
  if [ "$kind" = x64 ]; then
    win regsvr32 /s "$folder64\\Traylume.ocx" || fail "the 64-bit control's registration failed"
  fi
  for view in "${views[@]}"; do classes_export "$view" "$scratch/registered$view.reg"; done
  for view in "${views[@]}"; do
    if [ "$view" = 32 ] && [ "$kind" = x64 ] && [ "$runs_32bit" = no ]; then
      our_paragraphs "$scratch/registered64.reg" |
        awk -v RS= -v ORS='\n\n' -v from="${folder64//\\/\\\\\\\\}" -v to="${folder32//\\/\\\\\\\\}" \
          '/^[^]]*\\(inprocserver32|toolboxbitmap32)\]/ { i = index($0, from); if (i) $0 = substr($0, 1, i - 1) to substr($0, i + length(from)) } 1' \
          >"$scratch/expected32.txt"
      our_paragraphs "$scratch/installed32.reg" >"$scratch/ours32.txt"
      diff -u "$scratch/expected32.txt" "$scratch/ours32.txt" ||
        fail "the 32-bit view's keys differ from the 64-bit control's registration for the 32-bit file (above)"
    else
      diff -u "$scratch/installed$view.reg.txt" "$scratch/registered$view.reg.txt" ||
        fail "the $view-bit view differs from the control's own registration (above)"
    fi
    # Besides its own keys, the package changed nothing.
    diff -u <(our_paragraphs "$scratch/before$view.reg" -v) <(our_paragraphs "$scratch/installed$view.reg" -v) ||
      fail "the install changed keys in the $view-bit view that are not the package's (above)"
  done
  passed_since "$checked" "every view holds exactly what the controls' own registration writes, and nothing else changed"

  if [ "$runs_32bit" = yes ]; then
    example_runs "$system32\\cscript.exe" "the 32-bit scripting host" "$folder32"
    start_and_close "$folder32\\TraylumeSample.exe" "the installed program"
    cp "$unix32/TraylumeSample.exe" "$scratch/"
    start_and_close "$(windows_path "$scratch/TraylumeSample.exe")" "the program alone in a folder"
  fi
  if [ "$kind" = x64 ]; then
    example_runs cscript "the 64-bit scripting host" "$folder32"
    mkdir -p "$scratch/x64"
    cp "$bin64/TraylumeSample.exe" "$scratch/x64/"
    start_and_close "$(windows_path "$scratch/x64/TraylumeSample.exe")" "the 64-bit program alone in a folder"
  fi

  # A Japanese user looks for the name the window bears: the Start menu and
  # the installed programs list give it (and the reference's own).
  checked=$failures
  local product="$program_title"
  [ "$kind" = x64 ] && product="$product (x64)"
  case "$program_title" in Traylume?*) ;; *) fail "the window's title was not read: '$program_title'" ;; esac
  [ "$(shortcuts | sed 's|.*/||' | sort)" = "$(printf '%s.lnk\n' "$product" 'Traylumeコントロール リファレンス' | sort)" ] ||
    fail "the Start menu shortcuts are named otherwise: $(shortcuts | sed 's|.*/||' | tr '\n' ';')"
  [ "$(listed_name "$arp_key" "${views[-1]}")" = "$product" ] ||
    fail "the installed programs list shows '$(listed_name "$arp_key" "${views[-1]}")', not '$product'"
  passed_since "$checked" "the Start menu and the installed programs list say $product"

  echo "== remove $(basename "$msi")"
  checked=$failures
  win msiexec /x "$msi_path" /qn
  status=$?
  installed_msi=
  if [ "$status" -eq 0 ]; then pass "msiexec /x exited with 0"; else fail "msiexec /x exited with $status"; fi
  for folder in "$unix32" "$unix64"; do
    [ -e "$folder" ] && fail "$folder is left: $(ls "$folder")"
  done
  for view in "${views[@]}"; do
    for key in "${owned_keys[@]}"; do
      key_exists "HKLM\\Software\\Classes\\$key" "$view" && fail "key $key is left in the $view-bit view"
    done
    classes_export "$view" "$scratch/after$view.reg"
    # Read in the export, as the comparison below reads it: a reg query run
    # while the removal's processes were ending once answered "missing" for
    # a key the export held.
    grep -qiF "\\$bystander\\InprocServer32]" "$scratch/after$view.reg.txt" ||
      fail "the unrelated class $bystander is gone from the $view-bit view"
    diff -u "$scratch/before$view.reg.txt" "$scratch/after$view.reg.txt" ||
      fail "HKLM\\Software\\Classes of the $view-bit view differs from before (above)"
  done
  for view in "${views[@]}"; do
    win reg delete "HKLM\\Software\\Classes\\$bystander" /reg:"$view" /f >/dev/null 2>&1
  done
  key_exists "$arp_key" "${views[-1]}" && fail "the entry in the installed programs list is left"
  [ -z "$(shortcuts)" ] || fail "shortcut left: $(shortcuts)"
  passed_since "$checked" "no file, key or shortcut is left; the unrelated class is intact"
}

if [ "$runs_32bit" = yes ]; then
  use_prefix i686
  try_package x86
  echo "== unzip $(basename "$package.zip")"
  mkdir "$scratch/unzipped"
  unzip -q "$package.zip" -d "$scratch/unzipped" || fail "unzip failed"
  start_and_close "$(windows_path "$scratch/unzipped/TraylumeSample.exe")" "the unzipped program, unregistered"
  rm -f "$scratch/TraylumeSample.exe"
fi

use_prefix x86_64
try_package x64
# A prefix other than the run's own has a server of its own: end it.
[ "$runs_32bit" = yes ] && "$WINESERVER" -k >/dev/null 2>&1

if ((failures)); then
  echo "install_tests: $failures failure(s)"
  exit 1
fi
echo "install_tests: all checks passed"
