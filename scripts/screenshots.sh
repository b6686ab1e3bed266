#!/usr/bin/env bash
# Regenerates docs/window.png and docs/completion.png from the real program: Project1
# on a virtual X display, repairing a throwaway server's table.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target Project1

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
  kill "${app_pid:-}" "${wm_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true
  bash scripts/throwaway-server.sh stop "$work"
  rm -rf "$work"
}
trap cleanup EXIT

port=$(bash scripts/throwaway-server.sh start "$work" | tail -n 1)
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
sleep 0.5
openbox >"$work/openbox.log" 2>&1 &  # a frame and a caption, as on a desktop
wm_pid=$!

# Waits (bounded) for a window whose title matches $1 and prints its id.
window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && {
      echo "$id"; return; }
    sleep 0.1
  done
  echo "screenshots: no window titled '$1' appeared" >&2
  return 1
}

build/dev/bin/Project1 &
app_pid=$!
form=$(window 'unique_no')
sleep 0.5  # let it paint
import -frame -window "$form" docs/window.png

# Type the throwaway server's port into the port field, which has the focus, and
# press the repair button. Qt ignores sent (synthetic) events, so these go through
# the X server's input: focus first, then the pointer moved within the window.
xdotool windowfocus --sync "$form"
xdotool key ctrl+a
xdotool type "$port"
xdotool mousemove --window "$form" 381 44 click 1   # the button's middle: 344+37, 32+12
box=$(window '^Project1$')
sleep 0.5
import -frame -window "$box" docs/completion.png
xdotool windowfocus --sync "$box"
xdotool key Return
echo "screenshots: wrote docs/window.png and docs/completion.png" >&2
