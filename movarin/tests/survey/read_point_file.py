#!/usr/bin/env python3
"""A second reader of the binary point file, independent of the program's own.

Usage: read_point_file.py FILE [x,y,z ...]

Checks the 64-byte header (title "Points binary file" and version "v0.1", each padded with
NUL), the count field (-1, or the number of records), that the rest is whole 24-byte records
of three little-endian doubles, and, when coordinates are given, that the records hold exactly
those points in file order. Prints the records one per line and exits 1 on any mismatch.
"""
import struct
import sys


def fail(message):
    print(message)
    sys.exit(1)


def main():
    if len(sys.argv) < 2:
        fail("usage: read_point_file.py FILE [x,y,z ...]")
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    if len(data) < 68:
        fail("short file: %d bytes" % len(data))
    title = data[:48]
    version = data[48:64]
    if title != b"Points binary file".ljust(48, b"\0"):
        fail("bad title %r" % title)
    if version != b"v0.1".ljust(16, b"\0"):
        fail("bad version %r" % version)
    (count,) = struct.unpack("<i", data[64:68])
    body = data[68:]
    if len(body) % 24 != 0:
        fail("%d bytes of records is not whole records" % len(body))
    records = [struct.unpack("<3d", body[i:i + 24]) for i in range(0, len(body), 24)]
    if count != -1 and count != len(records):
        fail("count %d for %d records" % (count, len(records)))
    for r in records:
        print("%r,%r,%r" % r)
    if len(sys.argv) > 2:
        expected = [tuple(float(v) for v in a.split(",")) for a in sys.argv[2:]]
        if expected != records:
            fail("records %r, expected %r" % (records, expected))
    print("count=%d records=%d" % (count, len(records)))


main()
