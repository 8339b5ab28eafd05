#!/usr/bin/env python3
"""Checks the portable packages: each zip holds every file the program reads, at
the paths it reads them, and every program the tool catalogue names; the 64-bit
program from the unpacked zip starts under Wine and shows its window.

  check_dist.py DIST_DIR       (run inside scripts/wine-env.sh)
"""
import pathlib
import subprocess
import sys
import tempfile
import time
import zipfile

TOPICS = ["msgwin", "msgdos", "boot0", "boot1", "net0", "net1", "net2",
          "sys0", "sys1", "sys2", "sys3", "sys4"]
REQUIRED = (["Kelvane.exe", "data/sol.ini", "tooll/tool.txt", "helper/helper.exe",
             "hdguide.chm", "readme.txt"] + [f"data/{topic}.Rd" for topic in TOPICS])

results = []


def check(name, ok, detail=""):
    results.append(ok)
    print(("ok   " if ok else "FAIL ") + name + (f": {detail}" if detail and not ok else ""))


def catalogue_programs(tool_txt: bytes):
    """The file names the catalogue names: after the first TAB of each record, from
    the first ASCII letter on. Records are comma- or line-separated items."""
    names = []
    for line in tool_txt.decode("gbk").replace("\r\n", "\n").replace("\r", "\n").split("\n"):
        for item in line.split(","):
            if "\t" not in item:
                continue
            rest = item.split("\t", 1)[1]
            start = next((i for i, c in enumerate(rest) if c.isascii() and c.isalpha()), None)
            names.append(rest[start:] if start is not None else rest)
    return names


def check_zip(path: pathlib.Path):
    with zipfile.ZipFile(path) as archive:
        names = set(archive.namelist())
        for required in REQUIRED:
            check(f"{path.name} holds Kelvane/{required}", f"Kelvane/{required}" in names)
        if "Kelvane/tooll/tool.txt" in names:
            programs = catalogue_programs(archive.read("Kelvane/tooll/tool.txt"))
            check(f"{path.name}: the catalogue names programs", len(programs) > 0)
            missing = [p for p in programs if f"Kelvane/tooll/{p}" not in names]
            check(f"{path.name}: every catalogue program is in the zip", not missing, ", ".join(missing))
        exe = archive.read("Kelvane/Kelvane.exe")
        machine = int.from_bytes(exe[exe.index(b"PE\0\0") + 4:][:2], "little")
        expected = 0x8664 if "win64" in path.name else 0x14C
        check(f"{path.name}: Kelvane.exe is built for its architecture", machine == expected, hex(machine))


def check_starts(path: pathlib.Path):
    with tempfile.TemporaryDirectory() as folder:
        with zipfile.ZipFile(path) as archive:
            archive.extractall(folder)
        exe = pathlib.Path(folder) / "Kelvane" / "Kelvane.exe"
        process = subprocess.Popen(["wine", str(exe)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shown = False
        for _ in range(100):
            tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
            if "Kelvane V1.3" in tree:
                shown = True
                break
            time.sleep(0.1)
        check(f"{path.name}: the unpacked program starts and shows its window", shown)
        # Ending the program's own process leaves the shared wineserver running.
        process.kill()
        process.wait(timeout=30)


def main():
    dist = pathlib.Path(sys.argv[1])
    zips = sorted(dist.glob("Kelvane-*-win64.zip")) + sorted(dist.glob("Kelvane-*-win32.zip"))
    check("both packages exist", len(zips) == 2, str([z.name for z in zips]))
    for path in zips:
        check_zip(path)
    for path in zips:
        if "win64" in path.name:
            check_starts(path)
    failed = results.count(False)
    print(f"{len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
