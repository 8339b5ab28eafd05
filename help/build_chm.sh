#!/usr/bin/env bash
# Compiles the hardware guide into a .chm file.
#
#   build_chm.sh SRC_DIR OUT_CHM
#
# SRC_DIR holds the UTF-8 sources (the .html pages, style.css and the
# .hhp/.hhc/.hhk project files). The help viewer of Chinese Windows reads
# them as GBK, so they are converted in a scratch copy before chmcmd
# (Debian package fp-utils) compiles the project there. Fails when chmcmd
# reports an error or leaves no .chm behind.
set -euo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 SRC_DIR OUT_CHM" >&2
  exit 2
fi

src_dir=$(cd "$1" && pwd)
out_chm=$2
script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
convert="$script_dir/../scripts/convert_text.py"
chmcmd=${CHMCMD:-chmcmd}

command -v "$chmcmd" >/dev/null || { echo "build_chm.sh: $chmcmd not found (install fp-utils)" >&2; exit 1; }

shopt -s nullglob
projects=("$src_dir"/*.hhp)
if [[ ${#projects[@]} -ne 1 ]]; then
  echo "build_chm.sh: expected exactly one .hhp in $src_dir" >&2
  exit 1
fi
project=$(basename "${projects[0]}")
compiled=$(sed -n 's/^[[:space:]]*Compiled file[[:space:]]*=[[:space:]]*//Ip' "${projects[0]}" | tr -d '\r' | head -n 1)
compiled=${compiled:-${project%.hhp}.chm}

work=$(mktemp -d "${TMPDIR:-/tmp}/build_chm.XXXXXX")
trap 'rm -rf "$work"' EXIT

for file in "$src_dir"/*; do
  [[ -f $file ]] || continue
  name=$(basename "$file")
  case ${name,,} in
    *.html|*.htm|*.css|*.hhp|*.hhc|*.hhk)
      python3 "$convert" --gbk --crlf "$file" "$work/$name" ;;
    *)
      cp "$file" "$work/$name" ;;
  esac
done

log="$work/chmcmd.log"
status=0
# Verbosity 5 makes chmcmd name the contents and index files it reads, so the
# log proves both went in; its per-link notes are left out of what is shown.
(cd "$work" && "$chmcmd" --verbosity 5 "$project") >"$log" 2>&1 || status=$?
grep -Ev '^Note: (duplicate|Good) url' "$log" || true

fail() { echo "build_chm.sh: $*" >&2; exit 1; }
[[ $status -eq 0 ]] || fail "chmcmd exited with status $status"
# chmcmd reports a missing contents file or a link to a missing page and
# still exits 0, so its messages decide.
grep -Eiq '^[[:space:]]*(error|fatal)' "$log" && fail "chmcmd reported errors"
grep -Eiq "couldn't find|bad url" "$log" && fail "a page, the contents or the index links to a missing file"
grep -q '^Note: Scanning TOC file' "$log" || fail "the table of contents was not compiled in"
grep -q '^Note: Scanning Index file' "$log" || fail "the index was not compiled in"
[[ -s "$work/$compiled" ]] || fail "chmcmd produced no $compiled"

mkdir -p "$(dirname "$out_chm")"
mv -f "$work/$compiled" "$out_chm"
