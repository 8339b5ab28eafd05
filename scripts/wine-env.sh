#!/usr/bin/env bash
# Runs a command inside a prepared Wine environment and tears it down afterwards:
#   scripts/wine-env.sh [--display] BUILD_DIR COMMAND [ARGS...]
# - a private Wine prefix in BUILD_DIR/wineprefix, made quietly on first use;
# - a Chinese locale, so Wine's ANSI code page is 936 (GBK);
# - a private Xvfb display, unless --display is given and $DISPLAY is set
#   (then windows appear on the user's screen);
# - a persistent wineserver, so each Wine process starts in ~0.1 s instead of ~3 s.
set -euo pipefail

use_user_display=0
if [ "${1:-}" = "--display" ]; then use_user_display=1; shift; fi
build_dir=$(realpath -m "$1"); shift

export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
mkdir -p "$build_dir"

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

if [ "$use_user_display" -eq 0 ] || [ -z "${DISPLAY:-}" ]; then
  # Pick the first display number nobody holds.
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo >/dev/null 2>&1 || { echo "wine-env: Xvfb did not start on $DISPLAY" >&2; exit 1; }
fi

# 32-bit programs run only in a WoW64 prefix (one with syswow64), which Wine makes
# only while its i386 half is installed: a prefix made before that is made again.
if [ -f "$WINEPREFIX/system.reg" ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ] &&
   [ -d /usr/lib/i386-linux-gnu/wine/i386-windows ]; then
  echo "wine-env: the prefix in $WINEPREFIX cannot run 32-bit programs; making it again"
  rm -rf "$WINEPREFIX"
fi
# The server must start with DISPLAY set, or later programs cannot open windows.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-env: creating the Wine prefix in $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -w
  # Wine's own fonts are not found by this build unless they sit in the prefix.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
wineserver -p
# Without a window manager (a private Xvfb) Wine waits ~2 s for one whenever a
# window is hidden or destroyed; unmanaged windows skip that. On the user's own
# display the window manager stays in charge.
# The designs ask for 宋体 (SimSun), which Linux lacks. Wine's own pick has broken
# small bitmap glyphs (hyphens vanish at 9 pt); an outline CJK face reads cleanly.
fonts_mark="$WINEPREFIX/.kelvane-fonts"
if [ ! -f "$fonts_mark" ]; then
  for face in 宋体 SimSun 新宋体 NSimSun; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
  done
  touch "$fonts_mark"
fi
unmanaged_mark="$WINEPREFIX/.kelvane-unmanaged"
if [ -n "$xvfb_pid" ] && [ ! -f "$unmanaged_mark" ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  touch "$unmanaged_mark"
elif [ -z "$xvfb_pid" ] && [ -f "$unmanaged_mark" ]; then
  wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f </dev/null >/dev/null 2>&1 || true
  rm -f "$unmanaged_mark"
fi
# Warm up outside any pipe: the first Wine program starts background helpers that
# would otherwise hold a test runner's output pipe open forever.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

set +e
"$@"
status=$?
set -e
exit $status
