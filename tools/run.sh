#!/usr/bin/env bash
# The run command: installs what is missing, builds the program for the
# architecture this machine executes, prepares the private Wine prefix and
# opens the program's window.
#
# With a display the program runs in the foreground until its window is
# closed. Without one it runs under Xvfb in a Wine virtual desktop with a
# task bar, and the script shows it at work: it presses 表示! (the icon goes
# to the notification area), clicks the icon with the pointer, waits for the
# event log to report it, saves one screenshot of the whole desktop and
# prints its path, then closes the program the way a user does (WM_CLOSE)
# and checks that it ended with exit code 0.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

wait_seconds=30
# The virtual desktop fills the Xvfb screen; its task bar shows the first
# notification icon at about x 1006-1021, y 750-765.
desktop=traylume-run
desktop_size=1024x768
tray_icon=(1013 757)

# Runs inside Xvfb (see the end of this file).
headless() {
  local program=$1 screenshot=$2
  local helper explorer status=0 before after
  local window_class show_button event_log
  helper="$(dirname "$program")/window_driver.exe"
  # Form1's class and the ids of cmdShow (表示!) and lstEvent, as the build
  # read them from app/control_ids.h.
  source "$(dirname "$program")/control_ids.env"
  window_class=$form1_class show_button=$ctl_cmdShow event_log=$ctl_lstEvent
  start_wine_server  # ends one that runs already (the tests' own)

  # Wine's explorer makes the desktop, starts the program in it and ends
  # when the desktop closes, after the program.
  LANG=ja_JP.UTF-8 "$WINELOADER" explorer "/desktop=$desktop,$desktop_size" "$program" &
  explorer=$!
  on_desktop() { "$WINELOADER" "$helper" --desktop "$desktop" "$@"; }
  event_lines() { on_desktop --lines "$event_log" "$window_class" "$wait_seconds" | tr -d '\r'; }
  give_up() {
    import -window root "$screenshot" 2>/dev/null || true
    echo "run: $1; the screen at that moment: $screenshot" >&2
    stop_wine_server
    wait "$explorer" 2>/dev/null || true
    return 1
  }

  on_desktop --wait "$window_class" "$wait_seconds" >/dev/null || { give_up "the window did not appear"; return 1; }
  on_desktop --click "$show_button" "$window_class" "$wait_seconds" || { give_up "表示! failed"; return 1; }
  before=$(event_lines | wc -l)
  sleep 1  # the task bar shows the icon
  xdotool search --name "^$desktop - " mousemove --window %1 "${tray_icon[@]}" click 1
  for _ in $(seq 50); do
    after=$(event_lines | wc -l)
    [ "$after" -gt "$before" ] && break
    sleep 0.2
  done
  if [ "$after" -le "$before" ]; then
    give_up "no event log line after clicking the icon at ${tray_icon[*]}"
    return 1
  fi
  sleep 0.5  # later lines of the same click
  echo "event log, new lines:"
  event_lines | tail -n +"$((before + 1))" | sed 's/^/  /'

  # Off the icon (its tool tip would cover it), then the whole desktop.
  xdotool mousemove 640 600
  sleep 1
  import -window root "$screenshot"
  echo "screenshot: $screenshot"

  if ! on_desktop "$window_class" "$wait_seconds"; then
    stop_wine_server
    wait "$explorer" 2>/dev/null || true
    echo "run: the program did not close cleanly" >&2
    return 1
  fi
  wait "$explorer" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "run: the virtual desktop ended with status $status" >&2
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

build_and_prepare

program="$run_build_dir/bin/TraylumeSample.exe"
if [ -n "${DISPLAY:-}" ]; then
  echo "== running $program"
  trap stop_wine_server EXIT
  LANG=ja_JP.UTF-8 "$WINELOADER" "$program"
else
  echo "== no display: running $program under Xvfb"
  mkdir -p "$build_root"
  screenshot="$(cd "$build_root" && pwd)/screenshot.png"
  with_display bash "$0" --headless "$program" "$screenshot"
fi
