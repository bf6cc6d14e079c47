#!/usr/bin/env bash
# The run command: installs what is missing, builds the program for the
# architecture this machine executes, prepares the private Wine prefix and
# opens the program's window.
#
# With a display the program runs in the foreground until its window is
# closed. Without one it runs under Xvfb: the script waits for the window,
# saves a screenshot of it, prints the screenshot's path, closes the program
# the way a user does (WM_CLOSE) and checks that it ended with exit code 0.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

window_class='TraylumeSample.Form1'
wait_seconds=30

# Runs inside Xvfb (see the end of this file).
headless() {
  local program=$1 screenshot=$2
  local helper pid status=0 closed=0
  helper="$(dirname "$program")/close_window.exe"
  placefile=$(mktemp)
  trap '"$WINESERVER" -k >/dev/null 2>&1 || true; rm -f "$placefile"' EXIT
  "$WINESERVER" -p
  # Wine's background services start with the first program of a session
  # and keep its output open: let them start here, with no output to keep.
  "$WINELOADER" wineboot >/dev/null 2>&1 || true

  LANG=ja_JP.UTF-8 "$WINELOADER" "$program" &
  pid=$!

  # The window's place on the screen once it is shown. Without a window
  # manager Wine draws the frame and title bar itself, and screen
  # coordinates are those of the X screen.
  if ! "$WINELOADER" "$helper" --wait "$window_class" "$wait_seconds" >"$placefile"; then
    import -window root "$screenshot" 2>/dev/null || true
    echo "run: the window did not appear; the screen at that moment: $screenshot" >&2
    "$WINESERVER" -k >/dev/null 2>&1 || true
    wait "$pid" 2>/dev/null || true
    return 1
  fi
  local x y width height
  read -r x y width height < <(tr -d '\r' <"$placefile")

  # Let it finish painting, then cut it out of the screen.
  sleep 1
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$screenshot"
  echo "screenshot: $screenshot"

  "$WINELOADER" "$helper" "$window_class" "$wait_seconds" || closed=$?
  if [ "$closed" -ne 0 ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  wait "$pid" || status=$?
  if [ "$closed" -ne 0 ] || [ "$status" -ne 0 ]; then
    echo "run: the program did not close cleanly (exit status $status)" >&2
    return 1
  fi
  echo "run: closed with WM_CLOSE; exit code 0"
}

if [ "${1:-}" = --headless ]; then
  source "$here/wine-env.sh"
  headless "$2" "$3"
  exit
fi

bash "$here/setup.sh"
source "$here/wine-env.sh"

echo "== building ($TRAYLUME_ARCH)"
build_arch "$TRAYLUME_ARCH"
echo "== preparing the Wine prefix $WINEPREFIX"
prepare_prefix

program="$run_build_dir/bin/TraylumeSample.exe"
if [ -n "${DISPLAY:-}" ]; then
  echo "== running $program"
  trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
  LANG=ja_JP.UTF-8 "$WINELOADER" "$program"
else
  echo "== no display: running $program under Xvfb"
  mkdir -p "$build_root"
  screenshot="$(cd "$build_root" && pwd)/screenshot.png"
  with_display bash "$0" --headless "$program" "$screenshot"
fi
