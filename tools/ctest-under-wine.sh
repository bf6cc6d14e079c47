#!/usr/bin/env bash
# Runs ctest with one persistent wineserver for the whole run (otherwise
# every test entry waits about 2.5 s for the server to linger out), and
# always stops that server afterwards: one left running keeps pipes open.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"

trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
# A server an earlier run left up in this private prefix would make -p fail
# at once, without a word: end it first.
"$WINESERVER" -k >/dev/null 2>&1 || true
"$WINESERVER" -w
"$WINESERVER" -p
"$WINELOADER" wineboot >/dev/null 2>&1 || true
ctest --test-dir "$run_build_dir" --output-on-failure "$@"
