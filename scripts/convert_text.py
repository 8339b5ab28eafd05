#!/usr/bin/env python3
"""Converts a UTF-8 text file for the application directory.

  convert_text.py [--gbk] [--crlf] SOURCE DESTINATION

--gbk   encode in GBK (code page 936), the ANSI code page the program and
        Chinese Windows read data files in; a character GBK lacks is an error
--crlf  end every line with CR LF, as Windows text files do
"""
import argparse
import pathlib
import sys


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--gbk", action="store_true")
    parser.add_argument("--crlf", action="store_true")
    parser.add_argument("source", type=pathlib.Path)
    parser.add_argument("destination", type=pathlib.Path)
    args = parser.parse_args()

    text = args.source.read_text(encoding="utf-8")
    if text.startswith("\ufeff"):
        text = text[1:]
    if args.crlf:
        text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    try:
        data = text.encode("gbk" if args.gbk else "utf-8")
    except UnicodeEncodeError as error:
        line = text.count("\n", 0, error.start) + 1
        print(f"{args.source}:{line}: no GBK form for {text[error.start:error.end]!r}", file=sys.stderr)
        return 1
    args.destination.parent.mkdir(parents=True, exist_ok=True)
    args.destination.write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
