#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, and only what is
# missing, so a second run costs a few dpkg queries. Needs root (or sudo) the first time.
set -euo pipefail

# clang with libclang-rt-14-dev (libFuzzer and the sanitizer runtimes) builds the fuzz targets.
packages=(cmake ninja-build make g++ clang libclang-rt-14-dev googletest mingw-w64 wine wine64
          xvfb x11-utils imagemagick locales fonts-wqy-zenhei fonts-wqy-microhei
          python3 xauth fp-utils zip unzip)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"
  else echo "deps: need root to run: $*" >&2; exit 1; fi
}

# The 32-bit build's tests run in a WoW64 prefix, which needs Wine's i386 half.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "deps: adding the i386 architecture"
  as_root dpkg --add-architecture i386
  as_root apt-get update -qq
fi
packages+=(wine32:i386)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page (936, GBK) from the locale; without the generated
# locale, Chinese text on a command line arrives garbled.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  echo "deps: generating the zh_CN.UTF-8 locale"
  as_root sed -i 's/^# *zh_CN.UTF-8/zh_CN.UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
