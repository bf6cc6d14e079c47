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
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Configures and builds one architecture; the test programs only for the
# architecture that runs them (the other is compiled for its own faults).
build_arch() {
  local arch=$1 dir tests=OFF
  dir=$(build_dir "$arch")
  [ "$arch" = "$TRAYLUME_ARCH" ] && tests=ON
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$repo_root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTRAYLUME_BUILD_TESTS=$tests \
      -DCMAKE_TOOLCHAIN_FILE="$repo_root/cmake/toolchain-$arch.cmake" >/dev/null
  fi
  cmake --build "$dir" -- -j"$(nproc)" | grep -vE '^\[[0-9]+/[0-9]+\] ' || true
  [ "${PIPESTATUS[0]}" -eq 0 ]
}

# Creates the private prefix once: no window manager decorations (destroying
# a window is slow without one) and a Japanese face for Wine's own captions
# and task bar.
prepare_prefix() {
  if [ -f "$WINEPREFIX/.traylume-ready" ]; then return 0; fi
  mkdir -p "$WINEPREFIX"
  "$WINELOADER" wineboot -i >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma /d IPAGothic /f >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAGothic /f >/dev/null 2>&1
  # A crashing test must end, not wait in the debugger.
  "$WINELOADER" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
  "$WINESERVER" -w
  touch "$WINEPREFIX/.traylume-ready"
}

# Runs "$@" with a display: the real one, or a private Xvfb.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1024x768x24" "$@"
  fi
}
