#!/usr/bin/env python3
"""Checks a TIN archive with Python's own tar and struct readers.

Usage: check_tin_archive.py <archive.tin>
Prints "OK <points> <triangles>" and exits 0, or prints what is wrong and exits 1.
"""
import struct
import sys
import tarfile

HEADER = 64
META = b"This file is reserved for future use."


def fail(message):
    print("FAIL " + message)
    sys.exit(1)


def main(path):
    with tarfile.open(path, "r:") as archive:
        members = archive.getmembers()
        names = [m.name for m in members]
        if names != ["meta.txt", "coordinatePoints.tpobin", "triangles.tribin"]:
            fail("entry names %r" % names)
        for m in members:
            if not m.isfile() or m.mtime != 0:
                fail("entry %s is not a plain file with mtime 0" % m.name)
        meta, points, triangles = (archive.extractfile(m).read() for m in members)
        sizes = [m.size for m in members]

    if meta != META or sizes[0] != 37:
        fail("meta entry %r" % meta)

    if len(points) < HEADER + 4:
        fail("points entry too short: %d" % len(points))
    title, version = points[:48], points[48:64]
    if title != b"Points binary file".ljust(48, b"\0") or version != b"v0.1".ljust(16, b"\0"):
        fail("point block header %r %r" % (title, version))
    (count,) = struct.unpack_from("<i", points, HEADER)
    if count < 0 or sizes[1] != HEADER + 4 + 24 * count:
        fail("point count %d for entry size %d" % (count, sizes[1]))
    xyz = [struct.unpack_from("<3d", points, HEADER + 4 + 24 * i) for i in range(count)]

    if sizes[2] % 12 != 0:
        fail("triangles entry size %d" % sizes[2])
    used = [False] * count
    for k in range(sizes[2] // 12):
        corners = struct.unpack_from("<3i", triangles, 12 * k)
        for c in corners:
            if c < 0 or c >= count:
                fail("triangle %d index %d out of range" % (k, c))
            used[c] = True
        (ax, ay, _), (bx, by, _), (cx, cy, _) = (xyz[c] for c in corners)
        cross = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax)
        if not cross > 0:
            fail("triangle %d %r is not counter-clockwise with positive area" % (k, corners))
    if not all(used):
        fail("%d points used by no triangle" % used.count(False))
    print("OK %d %d" % (count, sizes[2] // 12))


if __name__ == "__main__":
    main(sys.argv[1])
