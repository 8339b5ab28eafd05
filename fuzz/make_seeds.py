#!/usr/bin/env python3
"""Writes the seed inputs of fuzz/corpus/<target>/: the program's real data files
in GBK with CR LF (as the build lays them out) and hand-made edge cases.

  python3 fuzz/make_seeds.py

Rewrites only the seed files it names; inputs merged in by `make fuzz
FUZZ_MERGE=1` (named by their SHA-1) stay.
"""
import pathlib
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"


def gbk(source: pathlib.Path) -> bytes:
    """The file as the program reads it, through the build's own converter."""
    with tempfile.TemporaryDirectory() as folder:
        out = pathlib.Path(folder) / source.name
        subprocess.run([sys.executable, str(ROOT / "scripts" / "convert_text.py"), "--gbk", "--crlf",
                        str(source), str(out)], check=True)
        return out.read_bytes()


def write(target: str, name: str, data: bytes) -> None:
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def main() -> int:
    records = {p.name: gbk(p) for p in sorted((ROOT / "wizard" / "data").glob("*.Rd"))}
    sol_ini = gbk(ROOT / "wizard" / "data" / "sol.ini")
    catalogue = gbk(ROOT / "tools" / "tooll" / "tool.txt")

    # Bytes every reader must survive.
    odd = {
        "commas-only": b",,,,",
        "nul-bytes": b"ab\0cd,\0\r\n\0",
        "not-gbk": b"\x80\xff\x81\x0a\xfe,\x81",
        "cr-only": b"first\rsecond,third\r",
        "quotes": b' "a,b" tail,"line 1\r\nline 2"\r\n"unclosed, to the end',
        "blanks": b"   ,  a  ,\t b\r\n    ",
    }

    for name, data in {**records, "sol.ini": sol_ini, "tool.txt": catalogue, **odd}.items():
        write("item_reader", name, data)
    for name, data in {**records, **odd}.items():
        write("record_text", name, data)

    # Catalogue records: the real one, with CR-only line ends, and odd records.
    write("tool_catalogue", "tool.txt", catalogue)
    write("tool_catalogue", "cr-only", catalogue.replace(b"\r\n", b"\r"))
    write("tool_catalogue", "odd-records",
          b"no tab\r\ncaption\t\r\ncaption\t 12 ;\r\n\t\tfile.cmd\r\n\t\r\n"
          b"\x81\x41\t\x81\x42x.cmd\r\n,\t,a\tb\tc\r\n\"quoted, caption\tQuoted.cmd\"")

    # Profile values: the flag byte (1 = the value was cut at the buffer), then the bytes.
    values = [line.split(b"=", 1)[1] for line in sol_ini.split(b"\r\n") if b"=" in line]
    for i, value in enumerate(sorted(set(values))[:12]):
        write("ini_rules", f"sol-value-{i}", b"\0" + value)
    long_caption = "很长的解决方案标题".encode("gbk") * 8
    write("ini_rules", "caption-cut-whole", b"\1" + long_caption[:48] + b"A")
    write("ini_rules", "caption-cut-lead", b"\1" + long_caption[:49])
    for name, value in {"failed": b"Failed", "failed-lower": b"failed x", "abc": b"abc", "minus-one": b"-1",
                        "five": b"5", "two-and-a-half": b"2.5", "blanks-three": b" 3 ", "tabs-four": b"\t4\t",
                        "leading-zero": b"04", "three-digits": b"004", "lone-lead": b"\x81",
                        "wide-digit": b"\xa3\xb3"}.items():
        write("ini_rules", name, b"\0" + value)
    return 0


if __name__ == "__main__":
    sys.exit(main())
