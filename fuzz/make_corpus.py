#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Seeds come from the sample data service and from small hand-made cases. Each seed is laid out
the way the target's FuzzedDataProvider reads it: strings from the front (a backslash followed
by another character ends one, a doubled backslash is one backslash), numbers and flags from
the back, last byte first. Run it again after changing a target's input layout; files named
regression-* are findings and are never touched.
"""

import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"
SERVICE = ROOT / "sample-service"


class Seed:
    """The two ends of one input: strings at the front, numbers at the back."""

    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()  # in the order the target takes the bytes

    def string(self, data: bytes, last=False):
        self.front += data.replace(b"\\", b"\\\\")
        if not last:
            self.front += b"\\ "
        return self

    def rest(self, data: bytes):
        self.front += data
        return self

    def number(self, value: int, low: int, high: int):
        span = high - low
        value -= low
        assert 0 <= value <= span
        count = 0
        while count < 8 and (span >> (8 * count)) > 0:
            count += 1
        for index in reversed(range(count)):
            self.back.append((value >> (8 * index)) & 0xFF)
        return self

    def byte(self, value: int):
        return self.number(value, 0, 255)

    def int32(self, value: int):
        return self.number(value, -(2**31), 2**31 - 1)

    def bytes(self) -> bytes:
        return bytes(self.front) + bytes(reversed(self.back))


def sample_records():
    """Every record of the sample service, oldest file first, with its CR LF."""
    records = []
    for path in sorted(SERVICE.glob("*.jvd")):
        data = path.read_bytes()
        records += [line + b"\n" for line in data.split(b"\n") if line]
    return records


def line_of(record: bytes) -> bytes:
    line = record.rstrip(b"\r\n")
    return line[:2] + b"000000000" + line[11:]


def write(target: str, name: str, data: bytes):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def year_file_seeds(records):
    ys = [r for r in records if r.startswith(b"YS")]
    of_2025 = [r for r in ys if r[11:15] == b"2025"][:12]
    existing = b"".join(line_of(r) + b"\r\n" for r in sorted(of_2025[:8]))
    cases = {
        "sample-merge": (existing, 2, [(of_2025[3], 1), (of_2025[10], 1), (ys[-1], 0)]),
        "sample-new-file": (b"", 1, [(r, 0) for r in of_2025[:4]]),
        "other-kind": (existing, 2, [(b"TK1" + of_2025[0][3:], 0)]),
        "short-and-year-dotdot": (existing, 2, [(b"YS12024", 0), (b"YS1202401010../..01" + b" " * 40, 0)]),
        "nul-bytes": (existing, 2, [(of_2025[1][:40] + b"\0\0\0" + of_2025[1][43:], 1)]),
        "lf-and-cr-lines": (existing.replace(b"\r\n", b"\n").replace(b"\n", b"\r", 2), 2, [(of_2025[9], 1)]),
        "invalid-sjis": (b"\x81\xff\xfe\x80" * 30 + b"\r\n", 2, [(of_2025[2][:60] + b"\x81", 1)]),
        "line-break-inside": (existing, 2, [(of_2025[5][:50] + b"\r\n" + of_2025[5][50:], 1)]),
        "folder-in-place": (b"", 8, [(of_2025[0], 1)]),
    }
    for name, (content, shape, stores) in cases.items():
        seed = Seed().string(content).byte(shape)
        for record, steer in stores:
            seed.byte(steer).string(record)
        write("fuzz_year_file", name, seed.bytes())


KNOWN_SECTIONS = ["locate", "kikan", "JvDataGet", "JVDATAGET"]
KNOWN_KEYS = ["top", "left", "kikan", "LastTime"]


def settings_entry(seed: Seed, section, key):
    for value, known in ((section, KNOWN_SECTIONS), (key, KNOWN_KEYS)):
        if value in known:
            seed.byte(known.index(value) * 32)
        else:
            seed.byte(255).string(value.encode("cp932"))


def settings_seeds():
    program = (
        "[locate]\r\ntop=10\r\nleft=10\r\nwidth=630\r\nheight=450\r\n\r\n"
        "[kikan]\r\nkikan=1\r\n\r\n[JvDataGet]\r\nLastTime=2026/12/05 15:00:00\r\n"
    ).encode("cp932")
    cases = {
        "program-file": (("JvDataGet", "LastTime"), ("locate", "top"), b"2027/01/05 09:30:00", 5, program),
        "quoted": (("kikan", "kikan"), ("JvDataGet", "LastTime"), b'"abc"', 1,
                   b'[JvDataGet]\r\nLastTime="2026/12/05"\r\n[kikan]\r\nkikan=\xa2abc\xa3\r\n'),
        "japanese-names": (("設定", "キー"), ("設定", "ｷｰ"), "値　".encode("cp932"), -3,
                           "[設定]\nキー=ﾃｽﾄ\n[設定]\nキー=二度目\n".encode("cp932")),
        "no-closing-bracket": (("locate", "left"), ("locate", "top"), b" 12 ", 12,
                               b"[locate\ntop=1\n[locate]\r\ntop=2\rleft=3"),
        "binary-junk": (("locate", "width"), ("kikan", "kikan"), b"\x00\x81", 2**31 - 1,
                        bytes(range(256)) * 3),
        "unusable-entry": (("a]b", "=k"), ("locate", "top"), b"v\r\nw", -(2**31), program),
    }
    for name, (written, probe, value, number, text) in cases.items():
        seed = Seed()
        settings_entry(seed, *written)
        settings_entry(seed, *probe)
        seed.string(value).int32(number).rest(text)
        write("fuzz_settings_file", name, seed.bytes())


def service_seeds(records):
    first = b"".join(records[:6])
    update = b"".join(records[-4:])
    faults = b"[JVOpen]\r\nresult=-504\r\n[JVRead]\r\nafter=100\r\nresult=-403\r\n[download]\r\nms_per_file=0\r\n"
    cases = {
        "sample-two-files": (2, faults, [first, update]),
        "sample-cached": (1, b"YSCH20241115100000.jvd", [first]),
        "lf-only-and-blank-lines": (0, b"YSCHTOKU", [first.replace(b"\r\n", b"\n\n")]),
        "invalid-sjis-record": (2, b"[JVStatus]\nafter=-5\nresult=+7\n", [first, records[0][:100] + b"\x81\x20\r\n" + update]),
        "record-too-long": (0, b"[service]\nfolder=/nowhere\n", [b"YS" + b"1" * 59998 + b"\r\n" + first]),
        "record-fits-buffer": (1, b"", [b"YS" + b"2" * 59996 + b"\r\n"]),
        "empty-files": (2, b"[download]\nms_per_file=99999999999\n", [b"", b""]),
    }
    for name, (flags, small, contents) in cases.items():
        seed = Seed().byte(flags).string(small)
        if flags & 2:
            seed.string(contents[0])
        seed.rest(contents[-1])
        write("fuzz_service_files", name, seed.bytes())


def code_seeds(records):
    cases = {
        "venue-tokyo": (0, 2, 20, 2, b"JVOpen", b"05"),
        "jvopen-maintenance": (-504, 9, 1, 1, b"JVOpen", b"09"),
        "jvread-positive": (380, 1, 31, 60, b"JVRead", line_of(records[0])),
        "jvstatus-count": (5, 4, 129, 3, b"JVStatus", b"A 11123"),
        "jvset-prefix": (-101, 8, 0, -1, b"JVSetSaveFlag", "　東京　".encode("cp932")),
        "unlisted": (-999, 12, 400, 400, b"", b"\x81\x40\x81\x81\x40@ \t"),
        "invalid-sjis": (0, 3, 2, 5, b"JVClose", b"\x80\xa0\xfd\xfe\xff\x81"),
        "utf16-surrogates": (-1, 6, 1, 9, b"JVFileDelete", b"\x00\xd8\x41\x00\x00\xdc\x3d\xd8\x00\xde"),
    }
    for name, (code, form, position, length, operation, text) in cases.items():
        seed = Seed().int32(code).number(form, -2, 12).number(position, -4, 400)
        seed.number(length, -4, 400).string(operation).rest(text)
        write("fuzz_code_conversions", name, seed.bytes())


def list_seeds(records):
    ys = [line_of(r) for r in records if r.startswith(b"YS")]
    tk = [line_of(r) for r in records if r.startswith(b"TK")]

    def seed_of(date, all_months, venue, lines):
        year, month, day = date
        seed = Seed().number(year, 1990, 2100).number(month, 1, 12).number(day, 1, 28)
        seed.number(1 if all_months else 0, 0, 255).number(venue, -1, 16)
        for line, steer in lines:
            seed.byte(steer).string(line)
        return seed.bytes()

    write("fuzz_schedule_lists", "sample-this-month", seed_of((2025, 1, 5), False, 0, [(l, 255) for l in ys[:10]]))
    write("fuzz_schedule_lists", "sample-meetings-ahead", seed_of((2025, 3, 7), True, 2, [(l, s) for l, s in zip(ys[10:16], [0, 1, 2, 0, 200, 2])]))
    write("fuzz_schedule_lists", "year-end", seed_of((2025, 12, 28), True, -1, [(l, 3) for l in ys[-6:]]))
    write("fuzz_schedule_lists", "short-and-odd-lines", seed_of((2026, 6, 1), False, 16,
          [(b"", 255), (b"YS", 255), (b"YS000000000202506", 255), (b"YS00000000020250 6010101", 255)] + [(l, 255) for l in tk[:2]]))


def session_seeds(records):
    ys = [r for r in records if r.startswith(b"YS")]

    def result(seed, value):
        if value == 0:
            seed.number(0, 0, 3)
        elif -3 <= value <= -1:
            seed.number(1, 0, 3).number(value, -3, -1)
        else:
            seed.number(2, 0, 3).number(value, -600, 600)

    def seed_of(open_result, read_count, download_count, close_result, stamp, statuses, reads):
        seed = Seed()
        if open_result == 0:
            seed.number(1, 0, 255)
        else:
            seed.number(0, 0, 255)
            result(seed, open_result)
        seed.number(read_count, -2, 8).number(download_count, -2, 8)
        if close_result == 0:
            seed.number(1, 0, 255)
        else:
            seed.number(0, 0, 255)
            result(seed, close_result)
        seed.number(0, 0, 255).string(stamp)  # the stamp as Shift-JIS text
        seed.number(len(statuses), 0, 6)
        for status in statuses:
            result(seed, status)
        for step in reads:
            if isinstance(step, bytes):
                seed.number(1, 0, 3).number(0, 0, 255).string(step)
            else:
                seed.number(0, 0, 3)
                result(seed, step)
        return seed.bytes()

    write("fuzz_download_session", "two-years", seed_of(0, 2, 0, 0, b"20261205150000", [], [ys[0], -1, ys[-1], -1]))
    write("fuzz_download_session", "download-then-read-error", seed_of(0, 3, 3, 0, b"20261205150000", [0, 1, 2], [ys[1], -3, ys[2], -403]))
    write("fuzz_download_session", "open-error", seed_of(-504, 0, 0, 0, b"", [], []))
    write("fuzz_download_session", "nothing-new", seed_of(0, 0, 0, -1, b"00000000000000", [], []))
    write("fuzz_download_session", "status-error", seed_of(0, 2, 2, 0, b" 20261205150000 ", [0, 5, -502], [ys[3]]))
    write("fuzz_download_session", "odd-records", seed_of(0, 1, 0, 0, b"2026120515000x", [], [b"YS1", b"TK" + ys[4][2:], ys[5][:200] + b"\r" + ys[5][200:], b"YS100000000../..0101", -2, ys[6]]))


def main():
    records = sample_records()
    if not records:
        sys.exit("no sample service records in " + str(SERVICE))
    year_file_seeds(records)
    settings_seeds()
    service_seeds(records)
    code_seeds(records)
    list_seeds(records)
    session_seeds(records)


if __name__ == "__main__":
    main()
