# Sourced by the run and test scripts: picks the architecture that this
# machine can execute, names its build folder and its private Wine prefix,
# and exports the Wine environment. Never touches ~/.wine.
#
# The product is a 32-bit program and is tested as one wherever the kernel
# runs 32-bit code. Some kernels have IA-32 emulation switched off; there
# the 32-bit build is still compiled, and the 64-bit build of the same
# sources is what runs under Wine.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

if [ -z "${TRAYLUME_ARCH:-}" ]; then
  if can_run_32bit; then TRAYLUME_ARCH=i686; else TRAYLUME_ARCH=x86_64; fi
fi
export TRAYLUME_ARCH

if [ "$TRAYLUME_ARCH" = i686 ]; then
  export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
else
  export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
fi
if [ -x /usr/lib/wine/wineserver64 ]; then
  export WINESERVER=/usr/lib/wine/wineserver64
else
  export WINESERVER=/usr/lib/wine/wineserver32
fi

build_root="${TRAYLUME_BUILD_ROOT:-$repo_root/build}"
build_dir() { echo "$build_root/$1"; }
run_build_dir=$(build_dir "$TRAYLUME_ARCH")

export WINEPREFIX="$run_build_dir/wineprefix"
# Wine names files on disk in the locale's character set: the Japanese file
# names the program and its tests use need a UTF-8 one, whatever the caller's.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
  *UTF-8* | *utf-8* | *UTF8* | *utf8*) ;;
  *) unset LC_ALL LC_CTYPE; export LANG=C.UTF-8 ;;
esac
export WINEDEBUG=-all
# No Mono or Gecko download prompts; no desktop menu entries for shortcuts
# an installer creates in the prefix (winemenubuilder writes them to ~).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Configures and builds one architecture; the test programs only for the
# architecture that runs them (the other is compiled for its own faults),
# or as the second argument says (ON/OFF).
build_arch() {
  local arch=$1 dir tests=${2:-OFF}
  dir=$(build_dir "$arch")
  [ -z "${2:-}" ] && [ "$arch" = "$TRAYLUME_ARCH" ] && tests=ON
  # Configured every time: a changed option takes effect (re-running CMake
  # on a configured folder costs about a second).
  cmake -S "$repo_root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTRAYLUME_BUILD_TESTS=$tests \
    -DCMAKE_TOOLCHAIN_FILE="$repo_root/cmake/toolchain-$arch.cmake" >/dev/null
  # The filter only quiets progress lines; the build's own status decides.
  local status
  cmake --build "$dir" -- -j"$(nproc)" | { grep -vE '^\[[0-9]+/[0-9]+\] ' || true; }
  status=${PIPESTATUS[0]}
  if [ "$status" -ne 0 ]; then
    echo "build: $arch failed (status $status)" >&2
    return "$status"
  fi
}

# Where Wine's own fonts are (Debian's fonts-wine).
wine_font_dir=/usr/share/wine/fonts

# Creates the private prefix once: no window manager decorations (destroying
# a window is slow without one), a Japanese face for Wine's own captions and
# task bar, and the Marlett font for the glyphs of the caption buttons.
prepare_prefix() {
  local stamp="$WINEPREFIX/.traylume-ready-4" made
  # A 64-bit prefix made where 32-bit code could not run has no 32-bit half
  # (no SysWOW64 programs): the stamp says how it was made, and a prefix made
  # otherwise than this machine would make it now is made again.
  made=$(can_run_32bit && echo "32-bit code runs" || echo "32-bit code does not run")
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$made" ]; then return 0; fi
  if [ -e "$WINEPREFIX" ]; then
    "$WINESERVER" -k >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  "$WINELOADER" wineboot -i >/dev/null 2>&1
  # Wine draws the caption buttons (close, minimise) as letters of Marlett:
  # without that font the close button shows an "r". Debian's Wine 8 does
  # not load the fonts of fonts-wine from where that package puts them
  # (it looks for them beside its data folder, in ../fonts), and fontconfig
  # does not know that folder either; the prefix's Fonts folder is always
  # read.
  if [ -f "$wine_font_dir/marlett.ttf" ]; then
    cp "$wine_font_dir/marlett.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
  else
    echo "prepare_prefix: $wine_font_dir/marlett.ttf is missing (fonts-wine):" \
         "caption buttons will show letters" >&2
  fi
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma /d IPAGothic /f >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAGothic /f >/dev/null 2>&1
  # A crashing program must end at once with its backtrace, not wait in the
  # debugger: without the AeDebug value Wine 8 still starts winedbg --auto,
  # and only ShowCrashDialog=0 makes that return at once.
  "$WINELOADER" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
  "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  if [ "$WINEARCH" = win64 ]; then seed_32bit_classes; fi
  "$WINESERVER" -w
  echo "$made" >"$stamp"
}

# A 64-bit Windows always has classes registered in the 32-bit registry
# view: its own 32-bit system classes. Wine registers them with its 32-bit
# half, which cannot start on a kernel that does not execute 32-bit code;
# the prefix is then left with an empty 32-bit CLSID key, unlike any real
# machine, and Wine's Windows Installer removes every key that an uninstall
# leaves empty, up to the root, that one included. Where that happened,
# register the two automation marshalers' 32-bit entries as Windows has
# them (oleaut32 of SysWOW64).
seed_32bit_classes() {
  local classes='HKLM\Software\Classes\CLSID' entry clsid name
  if "$WINELOADER" reg query "$classes" /reg:32 2>/dev/null | grep -q '^HKEY.*{'; then return 0; fi
  for entry in '{00020420-0000-0000-C000-000000000046} PSDispatch' '{00020424-0000-0000-C000-000000000046} PSOAInterface'; do
    read -r clsid name <<<"$entry"
    "$WINELOADER" reg add "$classes\\$clsid" /ve /d "$name" /reg:32 /f >/dev/null 2>&1
    "$WINELOADER" reg add "$classes\\$clsid\\InprocServer32" /ve /d 'C:\windows\syswow64\oleaut32.dll' /reg:32 /f >/dev/null 2>&1
    "$WINELOADER" reg add "$classes\\$clsid\\InprocServer32" /v ThreadingModel /d Both /reg:32 /f >/dev/null 2>&1
  done
}

# What the run and bench commands need first: the architecture this machine
# executes, built, and its prefix.
build_and_prepare() {
  echo "== building ($TRAYLUME_ARCH)"
  build_arch "$TRAYLUME_ARCH"
  echo "== preparing the Wine prefix $WINEPREFIX"
  prepare_prefix
}

# Ends the prefix's wine server and every Wine program in it.
stop_wine_server() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
}

# Starts one persistent wine server for the caller's whole run and stops it
# when the calling shell exits (after the shell's own EXIT trap, if it has
# one). Without it every Wine program waits about 2.5 s at its end for the
# server to linger out; a persistent server left running keeps pipes open,
# hence the trap. A server an earlier run left up in this prefix would make
# -p fail at once, without a word: it is ended first. Then the prefix boots:
# Wine's background services start with the first program of a session and
# keep its output open, so they start here, with no output to keep.
start_wine_server() {
  local earlier=
  if [ -n "$(trap -p EXIT)" ]; then
    eval "set -- $(trap -p EXIT)"  # trap -- 'COMMAND' EXIT
    earlier="$3"$'\n'
  fi
  trap "${earlier}stop_wine_server" EXIT
  stop_wine_server
  "$WINESERVER" -w
  "$WINESERVER" -p || return
  "$WINELOADER" wineboot >/dev/null 2>&1 || true
}

# Runs "$@" with a display: the real one, or a private Xvfb.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1024x768x24" "$@"
  fi
}
