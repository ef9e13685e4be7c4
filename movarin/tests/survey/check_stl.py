#!/usr/bin/env python3
"""Reads a binary STL file on its own (struct only) and checks what the TIN export promises.

usage: check_stl.py FILE

Checks: the size is 84 + 50 n for the facet count n at byte 80; the header begins with
"TIN exported by tin::io::StlTinExporter"; every number is finite; every normal has z >= 0.
Prints "facets <n>" and exits 0 when all hold; otherwise prints the first fault and exits 1.
"""
import math
import os
import struct
import sys

TITLE = b"TIN exported by tin::io::StlTinExporter"


def check(path):
    size = os.path.getsize(path)
    with open(path, "rb") as f:
        data = f.read()
    if size < 84:
        return "file too short: %d bytes" % size
    if not data[:80].startswith(TITLE):
        return "header is %r" % data[:80].rstrip(b"\0")
    (count,) = struct.unpack_from("<I", data, 80)
    if size != 84 + 50 * count:
        return "size %d is not 84 + 50 * %d" % (size, count)
    for i in range(count):
        values = struct.unpack_from("<12fH", data, 84 + 50 * i)
        numbers = values[:12]
        if not all(math.isfinite(v) for v in numbers):
            return "facet %d holds a number that is not finite: %r" % (i, numbers)
        if numbers[2] < 0.0:
            return "facet %d has a downward normal: %r" % (i, numbers[:3])
    print("facets %d" % count)
    return None


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: check_stl.py FILE")
    fault = check(sys.argv[1])
    if fault:
        print(fault)
        sys.exit(1)
