#!/usr/bin/env bash
# Starts the program from its laid-out application directory under Wine: on the
# user's display when there is one, otherwise under Xvfb, where it saves a
# screenshot of the window and prints where it is.
set -euo pipefail
build=$(realpath -m "${1:-build}")
app="$build/win64/app"
run_dir="$build/run"
mkdir -p "$run_dir"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run: starting $app/Kelvane.exe on $DISPLAY"
  exec bash "$(dirname "$0")/wine-env.sh" --display "$run_dir" wine "$app/Kelvane.exe"
fi

shot="$run_dir/screenshot.png"
bash "$(dirname "$0")/wine-env.sh" "$run_dir" bash -c '
  app=$1; shot=$2
  wine "$app/Kelvane.exe" &
  find_window() {
    xwininfo -root -tree 2>/dev/null | grep "Kelvane V1.3" | grep -o "[0-9]\+x[0-9]\++[0-9]\++[0-9]\+" | head -n 1
  }
  for _ in $(seq 100); do
    [ -n "$(find_window)" ] && break
    sleep 0.1
  done
  # Let start-up place and size the window and paint it, then take its final place.
  sleep 2
  geometry=$(find_window)
  if [ -n "$geometry" ]; then
    /usr/bin/import -window root -crop "$geometry" +repage "$shot"
  else
    echo "run: the window did not appear; saving the whole screen" >&2
    /usr/bin/import -window root "$shot"
  fi
' run "$app" "$shot"
echo "run: no display here, so the program ran under Xvfb; screenshot: $shot"
