#!/usr/bin/env python3
"""Writes the year files a complete fetch of a service folder must leave, worked out apart
from the program: every YS record of the service's YSCH files, oldest file first, positions
3-11 set to zeros, the later record of a key (positions 12-27) replacing the earlier, lines
sorted by their bytes with ASCII letter case folded, CR LF after every line."""
import pathlib
import re
import sys


def fold(line: bytes) -> bytes:
    out = bytearray()
    i = 0
    while i < len(line):
        b = line[i]
        if (0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC) and i + 1 < len(line):
            out += line[i:i + 2]
            i += 2
            continue
        out.append(b + 32 if 0x41 <= b <= 0x5A else b)
        i += 1
    return bytes(out)


def main() -> int:
    service, target = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    years: dict[bytes, dict[bytes, bytes]] = {}
    files = sorted(p for p in service.iterdir() if re.fullmatch(r"YSCH\d{14}\.jvd", p.name))
    for path in files:
        for record in path.read_bytes().replace(b"\r\n", b"\n").split(b"\n"):
            if not record.startswith(b"YS") or len(record) < 27:
                continue
            line = record[:2] + b"000000000" + record[11:]
            years.setdefault(line[11:15], {})[line[11:27]] = line
    for year, lines in years.items():
        name = year.decode("ascii") + "年ｽｹｼﾞｭｰﾙ.jvYS"
        body = b"".join(l + b"\r\n" for l in sorted(lines.values(), key=fold))
        (target / name).write_bytes(body)
    return 0


if __name__ == "__main__":
    sys.exit(main())
