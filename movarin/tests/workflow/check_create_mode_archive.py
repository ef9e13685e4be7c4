#!/usr/bin/env python3
"""Reads a create-mode project archive on its own (standard library only) and checks what the
create-mode workflow test saved into it.

Usage: check_create_mode_archive.py ARCHIVE IMAGE X,Y,Z X,Y,Z X,Y,Z

IMAGE is the background picture the test imported; the arguments after it are the
coordinates of the breakline's points, in order.
Checks:
- the binary point files: the survey (100 points), the elevation model (33,448) and the points
  for the TIN (33,548), each a 64-byte header, a count and records of three doubles;
- the breakline file: one record number of the points for the TIN a line, naming the given
  coordinates in order;
- the TIN archive (a tar of meta.txt, coordinatePoints.tpobin, triangles.tribin): every corner
  index valid, every point used, every triangle counter-clockwise with positive area, every
  point one of the points for the TIN and at least 99.9 % of those points in the TIN, both
  breakline segments TIN edges, and the plan area between 99.9 % and 100 % of the area of the
  convex hull of the TIN's points;
- the background picture "backgroundImageGroup/background1.png": the band checksums that
  `gdalinfo -checksum` gives for it are those of IMAGE;
- the point files, the TIN archive and the picture are stored without compression, "project.xml"
  deflated;
- "project.xml": the two imported captions with their colours (survey magenta, elevation
  model cyan), "Breakline 1", and one background image with "filename" "area.png" placed
  by its world file ("topLeftX" -100, "topLeftY" -82181, "scale" 5, "angle" 0).
Prints what it found and "OK" last, or "FAIL" and what is wrong, exiting 1.
"""
import io
import os
import re
import struct
import subprocess
import sys
import tarfile
import tempfile
import xml.etree.ElementTree as ElementTree
import zipfile

SURVEY = "coordinatePointsGroup/coordinatePoints1.tpobin"
DEM = "coordinatePointsGroup/coordinatePoints2.tpobin"
FOR_TIN = "coordinatePointsForTin/coordinatePointsForTin.tpobin"
BREAKLINE = "coordinatePointsForTin/breakline1.bln"
TIN = "readOnlyTin.tin"
IMAGE = "backgroundImageGroup/background1.png"
IMAGE_PLACEMENT = {"filename": "area.png", "topLeftX": -100.0, "topLeftY": -82181.0,
                   "scale": 5.0, "angle": 0.0}
DEM_CAPTION = "FG-GML-5238-74-00-DEM5A-20161001.xml"
SURVEY_CAPTION = "survey.tpo"


def fail(message):
    print("FAIL " + message)
    sys.exit(1)


def points_of(data, name):
    """The records of a binary point file, as (x, y, z) tuples in file order."""
    if len(data) < 68:
        fail("%s: %d bytes is no point file" % (name, len(data)))
    if data[:48] != b"Points binary file".ljust(48, b"\0") or data[48:64] != b"v0.1".ljust(16, b"\0"):
        fail("%s: header %r" % (name, data[:64]))
    (count,) = struct.unpack_from("<i", data, 64)
    if (len(data) - 68) % 24 != 0:
        fail("%s: %d bytes after the header are no whole records" % (name, len(data) - 68))
    records = [struct.unpack_from("<3d", data, 68 + 24 * i) for i in range((len(data) - 68) // 24)]
    if count not in (-1, len(records)):
        fail("%s: count %d for %d records" % (name, count, len(records)))
    return records


def twice_area(a, b, c):
    return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])


def hull_area(points):
    """The area of the convex hull (Andrew's monotone chain)."""
    ordered = sorted(set((p[0], p[1]) for p in points))
    if len(ordered) < 3:
        return 0.0

    def half(sequence):
        chain = []
        for p in sequence:
            while len(chain) >= 2 and twice_area(chain[-2], chain[-1], p) <= 0:
                chain.pop()
            chain.append(p)
        return chain[:-1]

    hull = half(ordered) + half(reversed(ordered))
    return sum(hull[i][0] * hull[i - 1][1] - hull[i - 1][0] * hull[i][1]
               for i in range(len(hull))) / -2.0


def check_tin(data, for_tin, breakline):
    with tarfile.open(fileobj=io.BytesIO(data), mode="r:") as archive:
        names = archive.getnames()
        if names != ["meta.txt", "coordinatePoints.tpobin", "triangles.tribin"]:
            fail("TIN archive entries %r" % names)
        points = points_of(archive.extractfile("coordinatePoints.tpobin").read(), "TIN points")
        corners = archive.extractfile("triangles.tribin").read()
    if len(corners) % 12 != 0:
        fail("triangle block of %d bytes" % len(corners))
    triangles = [struct.unpack_from("<3i", corners, k) for k in range(0, len(corners), 12)]

    used = [False] * len(points)
    edges = set()
    area = 0.0
    for k, triangle in enumerate(triangles):
        for c in triangle:
            if not 0 <= c < len(points):
                fail("triangle %d: corner index %d of %d points" % (k, c, len(points)))
            used[c] = True
        a, b, c = (points[i] for i in triangle)
        twice = twice_area(a, b, c)
        if not twice > 0:
            fail("triangle %d %r is not counter-clockwise with positive area" % (k, triangle))
        area += twice / 2.0
        for i in range(3):
            edges.add(frozenset((triangle[i], triangle[(i + 1) % 3])))
    if not all(used):
        fail("%d TIN points in no triangle" % used.count(False))

    known = set(for_tin)
    strangers = [p for p in points if p not in known]
    if strangers:
        fail("%d TIN points are no points for the TIN, first %r" % (len(strangers), strangers[0]))
    if len(points) < 0.999 * len(for_tin):
        fail("%d TIN points of %d points for the TIN" % (len(points), len(for_tin)))

    index = {p: i for i, p in enumerate(points)}
    for a, b in zip(breakline, breakline[1:]):
        if a not in index or b not in index or frozenset((index[a], index[b])) not in edges:
            fail("breakline segment %r - %r is no TIN edge" % (a, b))

    hull = hull_area(points)
    if not 0.999 * hull <= area <= hull * (1 + 1e-12):
        fail("plan area %.3f against the hull's %.3f" % (area, hull))
    print("TIN: %d points, %d triangles, area %.1f of hull %.1f" % (len(points), len(triangles), area, hull))


def band_checksums(path):
    """GDAL's checksum of each band of the raster at path, in band order."""
    result = subprocess.run(["gdalinfo", "-checksum", path], capture_output=True, text=True)
    if result.returncode != 0:
        fail("gdalinfo cannot read %s: %s" % (path, result.stderr.strip()))
    return [int(c) for c in re.findall(r"Checksum=(\d+)", result.stdout)]


def check_image(data, source):
    with tempfile.TemporaryDirectory() as folder:
        stored = os.path.join(folder, os.path.basename(IMAGE))
        with open(stored, "wb") as out:
            out.write(data)
        found = band_checksums(stored)
    expected = band_checksums(source)
    if not expected:
        fail("gdalinfo gives no band checksum for %s" % source)
    if found != expected:
        fail("%s has band checksums %r, its source %r" % (IMAGE, found, expected))
    print("background image: band checksums %r" % found)


def check_project_xml(text):
    root = ElementTree.fromstring(text)
    colors = {e.get("caption"): e.get("color") for e in root.iter("CoordinatePoints") if e.get("caption")}
    if colors != {SURVEY_CAPTION: "#ff00ff", DEM_CAPTION: "#00ffff"}:
        fail("imported captions and colours %r" % colors)
    breaklines = [e.get("caption") for e in root.iter("Breakline")]
    if breaklines != ["Breakline 1"]:
        fail("breakline captions %r" % breaklines)
    images = list(root.iter("BackgroundImage"))
    if len(images) != 1:
        fail("%d background image elements" % len(images))
    for name, expected in IMAGE_PLACEMENT.items():
        value = images[0].get(name)
        if value is None:
            fail("the background image has no %r" % name)
        if (value if isinstance(expected, str) else float(value)) != expected:
            fail("the background image's %r is %r, not %r" % (name, value, expected))


def main():
    if len(sys.argv) != 6:
        fail("usage: check_create_mode_archive.py ARCHIVE IMAGE X,Y,Z X,Y,Z X,Y,Z")
    clicked = [tuple(float(v) for v in a.split(",")) for a in sys.argv[3:]]
    with zipfile.ZipFile(sys.argv[1]) as archive:
        read = archive.read
        survey = points_of(read(SURVEY), SURVEY)
        dem = points_of(read(DEM), DEM)
        for_tin = points_of(read(FOR_TIN), FOR_TIN)
        lines = [re.split(r"[,\t ]+", line.strip()) for line in read(BREAKLINE).decode("ascii").splitlines()]
        ids = [int(tokens[0]) for tokens in lines if tokens[0]]
        tin = read(TIN)
        image = read(IMAGE)
        project = read("project.xml")
        methods = {info.filename: info.compress_type for info in archive.infolist()}

    deflated = [name for name in (SURVEY, DEM, FOR_TIN, TIN, IMAGE) if methods[name] != zipfile.ZIP_STORED]
    if deflated or methods["project.xml"] != zipfile.ZIP_DEFLATED:
        fail("compressed bulk members %r, project.xml method %d" % (deflated, methods["project.xml"]))

    counts = (len(survey), len(dem), len(for_tin))
    if counts != (100, 33448, 33548):
        fail("point counts %r" % (counts,))
    if sorted(for_tin) != sorted(survey + dem):
        fail("the points for the TIN are not those of the two imports")
    print("points: survey %d, elevation model %d, for the TIN %d" % counts)

    if any(not 0 <= i < len(for_tin) for i in ids):
        fail("breakline ids %r out of range" % ids)
    breakline = [for_tin[i] for i in ids]
    if [tuple(round(v, 6) for v in p) for p in breakline] != clicked:
        fail("breakline ids %r name %r, not %r" % (ids, breakline, clicked))
    print("breakline: ids %r" % ids)

    check_tin(tin, for_tin, breakline)
    check_image(image, sys.argv[2])
    check_project_xml(project)
    print("OK")


main()
