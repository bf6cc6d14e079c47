#!/usr/bin/env bash
# The bench command: installs what is missing, builds the architecture this
# machine executes (Release, as shipped), prepares the private Wine prefix
# and runs the benchmark driver, which prints one table (README: "Reading
# the benchmarks"). Extra arguments go to the driver (--quick: small sizes).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# Runs inside the display (see the end of this file).
if [ "${1:-}" = --inside ]; then
  shift
  source "$here/wine-env.sh"
  start_wine_server
  LANG=ja_JP.UTF-8 "$WINELOADER" "$run_build_dir/bin/bench_driver.exe" "$@"
  exit
fi

bash "$here/setup.sh"
source "$here/wine-env.sh"
build_and_prepare
echo "== running the benchmarks (a few minutes; progress on stderr)"
with_display bash "$0" --inside "$@"
