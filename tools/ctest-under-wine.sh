#!/usr/bin/env bash
# Runs ctest with one persistent wineserver for the whole run (otherwise
# every test entry waits about 2.5 s for the server to linger out), and
# always stops that server afterwards (start_wine_server in wine-env.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"

start_wine_server
ctest --test-dir "$run_build_dir" --output-on-failure "$@"
