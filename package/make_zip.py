#!/usr/bin/env python3
"""Writes a zip of the named files whose bytes depend only on their contents,
their order and the time given: not on the files' owners, modes or times, the
time zone or the platform.

Usage: make_zip.py OUT.zip SECONDS_SINCE_1970 FILE...
"""
import sys
import time
import zipfile

DOS_EPOCH = 315532800  # 1980-01-01, the earliest time a zip entry holds


def main():
    out, epoch, *names = sys.argv[1:]
    # Zip times carry no zone: the time in UTC, as every unzip shows it.
    stamp = time.gmtime(max(int(epoch), DOS_EPOCH))[:6]
    with zipfile.ZipFile(out, "w") as archive:
        for name in names:
            entry = zipfile.ZipInfo(name, stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3  # Unix, whichever system writes it
            mode = 0o755 if name.endswith(".exe") else 0o644
            entry.external_attr = (0o100000 | mode) << 16
            with open(name, "rb") as f:
                archive.writestr(entry, f.read(), compresslevel=9)


if __name__ == "__main__":
    main()
