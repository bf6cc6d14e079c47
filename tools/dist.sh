#!/usr/bin/env bash
# The dist command: builds the Release configuration of both architectures
# and writes the packages into dist/:
#
#   TraylumeSample-<version>.zip  the program and the 32-bit control side
#                                 by side, x64/Traylume.ocx, README.txt, and
#                                 docs/: the control's reference (Japanese
#                                 and English) and the examples it quotes
#   TraylumeSample-<version>.msi  the installer package for 32-bit hosts
#                                 (wixl, from tools/installer/TraylumeSample.wxs,
#                                 then its Japanese names: japanese_names.exe)
#   TraylumeSample-<version>-x64.msi
#                                 the same with the 64-bit control as well,
#                                 registered for 64-bit hosts
#
# The shipped files carry no symbols or debug sections. With --no-build it
# packages what the build folders hold (the test command has just built).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" != --no-build ]; then
  bash "$here/setup.sh"
  source "$here/wine-env.sh"
  echo "== building i686 (the product) and x86_64"
  build_arch i686 OFF
  build_arch x86_64 OFF
else
  source "$here/wine-env.sh"
fi

version=$(head -n 1 "$repo_root/VERSION")
name="TraylumeSample-$version"
out="$repo_root/dist"
stage="$build_root/dist-stage"
i686_bin="$(build_dir i686)/bin"
x64_bin="$(build_dir x86_64)/bin"

echo "== packaging $name into $out"
rm -rf "$stage"
mkdir -p "$stage/x64" "$out"
i686-w64-mingw32-strip -o "$stage/TraylumeSample.exe" "$i686_bin/TraylumeSample.exe"
i686-w64-mingw32-strip -o "$stage/Traylume.ocx" "$i686_bin/Traylume.ocx"
x86_64-w64-mingw32-strip -o "$stage/x64/Traylume.ocx" "$x64_bin/Traylume.ocx"
# The program's icon for the installed programs list (the package only).
cp "$(build_dir i686)/resources/app.ico" "$stage/TraylumeSample.ico"
# The control's reference pages (made by the build) and the examples.
mkdir -p "$stage/docs/examples"
for page in reference.ja.html reference.en.html; do
  [ -f "$(build_dir i686)/docs/$page" ] || { echo "dist: $page was not built (pandoc missing?)" >&2; exit 1; }
  cp "$(build_dir i686)/docs/$page" "$stage/docs/"
done
cp "$repo_root/examples/tray_balloon.vbs" "$repo_root/examples/tray_events.cpp" "$stage/docs/examples/"
# The read-me as Windows' Notepad reads it at once: UTF-8 with a byte
# order mark, CRLF line ends.
{ printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$here/installer/README.txt"; } \
  >"$stage/README.txt"

rm -f "$out/$name.zip" "$out/$name.msi" "$out/$name-x64.msi"
(cd "$stage" && zip -q -X -r "$out/$name.zip" TraylumeSample.exe Traylume.ocx x64 README.txt docs)
# wixl takes the files from the folder it runs in, and ASCII text only: the
# Japanese names go in afterwards, through Wine's Windows Installer.
prepare_prefix
names_tool="$(build_dir "$TRAYLUME_ARCH")/bin/japanese_names.exe"
for platform in x86 x64; do
  msi="$out/$name.msi"
  [ "$platform" = x64 ] && msi="$out/$name-x64.msi"
  (cd "$stage" && wixl --arch "$platform" -D Platform="$platform" -I "$(build_dir i686)/installer" \
    -I "$here/installer" -o "$msi" "$here/installer/TraylumeSample.wxs")
  "$WINELOADER" "$names_tool" "$("$WINELOADER" winepath -w "$msi" 2>/dev/null)" "$platform" "$version" ||
    { echo "dist: the Japanese names did not go into $(basename "$msi")" >&2; exit 1; }
done

size() { stat -c %s "$1"; }
shipped=$(($(size "$stage/TraylumeSample.exe") + $(size "$stage/Traylume.ocx")))
echo "   $out/$name.zip ($(size "$out/$name.zip") bytes)"
echo "   $out/$name.msi ($(size "$out/$name.msi") bytes)"
echo "   $out/$name-x64.msi ($(size "$out/$name-x64.msi") bytes)"
echo "   TraylumeSample.exe + Traylume.ocx: $shipped bytes"
if [ "$shipped" -ge $((1024 * 1024)) ]; then
  echo "dist: the program and the control together exceed 1 MiB" >&2
  exit 1
fi
