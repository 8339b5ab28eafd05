#!/usr/bin/env python3
"""Checks a compiled hardware guide.

  check_chm.py OUT_CHM [--list]

Reads the ITSF container's directory (the listing chunks that name every
stored file) and verifies that the guide holds each of its pages, its
style sheet, its table of contents and its index. --list prints the stored
names. It also reads the texts that ship with the program, from their UTF-8
sources: a guide page warns about the BitLocker recovery key before its first
step that makes an encrypted drive ask for it, and no text names a menu by a
name Windows 10 or 11 no longer uses. Exits 0 when all holds, 1 otherwise.
"""
import pathlib
import struct
import sys

PAGES = [
    "index.html",    # 使用说明
    "power.html",    # 电源与开机
    "board.html",    # 主板与CPU
    "memory.html",   # 内存
    "disk.html",     # 硬盘
    "display.html",  # 显示器与显卡
    "sound.html",    # 声卡与音箱
    "network.html",  # 网卡
    "input.html",    # 键盘与鼠标
    "printer.html",  # 打印机
    "usb.html",      # USB设备
]
REQUIRED = PAGES + ["style.css", "hdguide.hhc", "hdguide.hhk"]

ROOT = pathlib.Path(__file__).resolve().parent.parent
SHIPPED_TEXTS = ["help/hdguide/*.html", "wizard/data/*", "tools/tooll/*", "docs/readme.txt", "helper/HelperText.h"]
# Steps after which a drive encrypted with BitLocker may ask for its recovery key.
KEY_STEPS = ["BIOS默认设置", "恢复默认设置", "LoadOptimizedDefaults", "载入默认值", "启动顺序",
             "安全模式", "恢复环境", "启动修复", "高级启动", "bootrec"]
# Menu paths as Windows 10 or 11 no longer shows them (blanks removed).
RETIRED_WORDINGS = ["文件→运行新任务", "10/11在“设置→系统→关于”", "可以在“设置→系统→关于”",
                    "10/11可在“设置→蓝牙和其他设备", "Windows11都在“设置→系统→显示”"]


class ChmError(Exception):
    pass


def read_encint(data, pos):
    """A variable-length integer: 7 bits a byte, high bit set on all but the last."""
    value = 0
    while True:
        if pos >= len(data):
            raise ChmError("directory entry runs past its chunk")
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos


def list_names(data):
    if data[:4] != b"ITSF":
        raise ChmError('file does not start with "ITSF"')
    if len(data) < 0x58:
        raise ChmError("ITSF header is truncated")
    # Header section table: section 0 (file size), section 1 (the directory).
    dir_offset, dir_length = struct.unpack_from("<QQ", data, 0x48)
    if dir_offset + 0x54 > len(data):
        raise ChmError("directory lies outside the file")
    if data[dir_offset:dir_offset + 4] != b"ITSP":
        raise ChmError("directory header ITSP is missing")
    header_length, = struct.unpack_from("<I", data, dir_offset + 0x08)
    chunk_size, = struct.unpack_from("<I", data, dir_offset + 0x10)
    chunk_count, = struct.unpack_from("<I", data, dir_offset + 0x2C)
    if chunk_size < 0x20 or chunk_count == 0:
        raise ChmError("directory header has no chunks")
    first_chunk = dir_offset + header_length
    if first_chunk + chunk_size * chunk_count > len(data):
        raise ChmError("directory chunks lie outside the file")

    names = []
    for index in range(chunk_count):
        chunk = data[first_chunk + index * chunk_size:first_chunk + (index + 1) * chunk_size]
        if chunk[:4] != b"PMGL":  # PMGI chunks only index the listing ones
            continue
        free_space, = struct.unpack_from("<I", chunk, 4)
        end = chunk_size - free_space
        pos = 0x14
        while pos < end:
            length, pos = read_encint(chunk, pos)
            name = chunk[pos:pos + length].decode("utf-8", "replace")
            pos += length
            for _ in range(3):  # content section, offset, length
                _, pos = read_encint(chunk, pos)
            names.append(name)
    return names


def without_blanks(text):
    return text.replace(" ", "").replace("\u3000", "")


def text_faults():
    faults = []
    for page in PAGES:
        text = without_blanks((ROOT / "help/hdguide" / page).read_text(encoding="utf-8"))
        # Steps are the numbered lists; symptoms and causes before them only name things.
        steps = [text.find(step, max(text.find("<ol>"), 0)) for step in KEY_STEPS]
        steps = [place for place in steps if place >= 0]
        warning = text.find("恢复密钥")
        if steps and not 0 <= warning < min(steps):
            faults.append(f"{page}: no recovery-key warning before {text[min(steps):min(steps) + 12]!r}")
    for pattern in SHIPPED_TEXTS:
        for path in sorted(ROOT.glob(pattern)):
            text = without_blanks(path.read_text(encoding="utf-8"))
            faults += [f"{path.relative_to(ROOT)}: retired wording {w!r}" for w in RETIRED_WORDINGS if w in text]
    return faults


def main(argv):
    if len(argv) < 2 or len(argv) > 3 or (len(argv) == 3 and argv[2] != "--list"):
        print("usage: check_chm.py OUT_CHM [--list]", file=sys.stderr)
        return 2
    try:
        with open(argv[1], "rb") as stream:
            data = stream.read()
        names = list_names(data)
    except (OSError, ChmError, struct.error) as error:
        print(f"{argv[1]}: {error}", file=sys.stderr)
        return 1

    if len(argv) == 3:
        for name in names:
            print(name)
    stored = {name.lstrip("/").lower() for name in names}
    missing = [name for name in REQUIRED if name.lower() not in stored]
    if missing:
        print(f"{argv[1]}: missing {', '.join(missing)}", file=sys.stderr)
        return 1
    print(f"{argv[1]}: {len(names)} entries, all {len(PAGES)} pages, the contents and the index present")
    faults = text_faults()
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
