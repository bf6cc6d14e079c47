#!/usr/bin/env bash
# The real program with the real control in a Wine virtual desktop with its
# task bar, unregistered (the control beside the program), as the headless
# demo of `make run` shows it: 表示! puts the icon in the notification area,
# a click on the icon reaches the event log as a left press and release, and
# WM_CLOSE ends the program with 0. The demo's own checks fail it when a
# step does not happen; this adds the log lines the click must give.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
source "$here/../../tools/wine-env.sh"
"$WINELOADER" regsvr32 /u /s "$(dirname "$program")/Traylume.ocx" >/dev/null 2>&1
screenshot=$(mktemp --suffix=.png)
trap 'rm -f "$screenshot"' EXIT
output=$(bash "$here/../../tools/run.sh" --headless "$program" "$screenshot" 2>&1)
status=$?
echo "$output"
[ "$status" -eq 0 ] || { echo "FAIL: the demo ended with $status"; exit 1; }
for line in 左ボタンが押されました。 左ボタンが離されました。; do
  grep -q "$line" <<<"$output" || { echo "FAIL: no \"$line\" in the event log"; exit 1; }
done
echo "demo_tests: passed"
