#!/usr/bin/env bash
# The test command: installs what is missing, builds both architectures,
# packages them (tools/dist.sh), prepares the private Wine prefix and runs
# every test suite through ctest.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/setup.sh"
source "$here/wine-env.sh"

echo "== building i686 (the product) and x86_64"
build_arch i686
build_arch x86_64
if [ "$TRAYLUME_ARCH" != i686 ]; then
  echo "note: this kernel does not execute 32-bit code (IA-32 emulation is off);"
  echo "      the tests run the $TRAYLUME_ARCH build of the same sources under Wine,"
  echo "      and install_tests tries the 64-bit package (the 32-bit one needs 32-bit code)."
fi

# The install test tries the packages: make them from what was just built.
bash "$here/dist.sh" --no-build

echo "== preparing the Wine prefix $WINEPREFIX"
prepare_prefix

echo "== running the tests ($TRAYLUME_ARCH)"
with_display bash "$here/ctest-under-wine.sh" "$@"
