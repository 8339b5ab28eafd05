#!/usr/bin/env bash
# Runs a command under another Unix locale, so that Wine programs started by it
# get that locale's ANSI code page (en_US.UTF-8: 1252; hi_IN.UTF-8, whose Windows
# locale has no ANSI code page: 65001, UTF-8):
#   scripts/in-locale.sh LOCALE_DIR LOCALE CODE_PAGE COMMAND [ARGS...]
# The locale is compiled into LOCALE_DIR on first use (no root needed) and found
# there through LOCPATH. CODE_PAGE goes to the tests in KELVANE_EXPECTED_ACP, so a
# run that did not get it fails instead of quietly testing the usual one.
set -euo pipefail
locale_dir=$1 locale=$2 code_page=$3
shift 3
if [ ! -d "$locale_dir/$locale" ]; then
  mkdir -p "$locale_dir"
  # localedef warns about some locales' sources yet writes them; the check below decides.
  localedef -i "${locale%%.*}" -f UTF-8 "$locale_dir/$locale" 2>/dev/null || true
  [ -d "$locale_dir/$locale" ] || { echo "in-locale: could not make $locale" >&2; exit 1; }
fi
exec env LOCPATH="$locale_dir" LANG="$locale" LC_ALL="$locale" KELVANE_EXPECTED_ACP="$code_page" "$@"
