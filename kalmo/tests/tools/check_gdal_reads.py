#!/usr/bin/env python3
"""Checks with GDAL's ogrinfo that the shapefiles our writers make read as they were meant.

Usage: check_gdal_reads.py <kalmo_sample_shapefiles program>

Writes a description of polygons and polylines, lets the program write them as shapefiles, and
compares ogrinfo's summary and features with the description: geometry type, feature count,
field types, names decoded from UTF-8, values, and every polygon ring closed and clockwise.
"""
import json
import re
import subprocess
import sys
import tempfile
from pathlib import Path

POLYGONS = [
    {"name": "荒川 右岸", "value": 7,
     "points": [[0, 0], [100, 0], [100, 50], [0, 50]]},             # counter-clockwise
    {"name": "Überflutung", "value": -999999999,
     "points": [[200, 0], [200, 40], [260, 40], [260, 0]]},          # clockwise
    {"name": "plain", "value": 1234567890,
     "points": [[300, 300], [310, 300], [305, 320]]},
]
POLYLINES = [
    {"name": "測線 1", "value": 0.015,
     "points": [[0, 0], [10, 5], [20, 0]]},
    {"name": "Brücke", "value": 123456.789012,
     "points": [[5, 5], [6, 7]]},
]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def ogrinfo(*args):
    return subprocess.run(["ogrinfo", *args], check=True, capture_output=True,
                          text=True, encoding="utf-8").stdout


def features(path):
    """[(fields as printed, list of rings or lines as [(x, y)])] from ogrinfo -ro -al -q."""
    found = []
    for line in ogrinfo("-ro", "-al", "-q", str(path)).splitlines():
        if line.startswith("OGRFeature("):
            found.append(({}, []))
            continue
        field = re.match(r"  (\S+) \(\w+\) = (.*)$", line)
        if found and field:
            found[-1][0][field.group(1)] = field.group(2)
        elif found and re.match(r"  (POLYGON|LINESTRING)", line):
            for part in re.findall(r"\(([^()]*)\)", line):
                found[-1][1].append([tuple(float(n) for n in pair.split())
                                     for pair in part.split(",")])
    return found


def signed_area2(ring):
    return sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(ring, ring[1:]))


def check_ring(name, rings, points):
    """One ring, closed, clockwise, through the polygon's points."""
    check(len(rings) == 1, f"{name}: {len(rings)} rings")
    ring = rings[0]
    check(ring[0] == ring[-1], f"{name}: ring not closed")
    check(signed_area2(ring) < 0, f"{name}: ring not clockwise")
    check(sorted(set(ring)) == sorted(points), f"{name}: vertices {ring}")


def check_summary(path, geometry, count, value_type):
    summary = ogrinfo("-ro", "-so", "-al", str(path))
    check(f"Geometry: {geometry}" in summary, f"{path.name}: not '{geometry}'")
    check(f"Feature Count: {count}" in summary, f"{path.name}: not {count} features")
    check("Name: String (255.0)" in summary, f"{path.name}: Name is not String (255.0)")
    check(f"Value: {value_type}" in summary, f"{path.name}: Value is not {value_type}")


def main():
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        folder = Path(folder)
        (folder / "shapes.json").write_text(
            json.dumps({"polygons": POLYGONS, "polylines": POLYLINES}), encoding="utf-8")
        subprocess.run([program, str(folder / "shapes.json"), str(folder)], check=True)

        kinds = [("polygons.shp", POLYGONS, "Polygon", "Integer64 (10.0)"),
                 ("polylines.shp", POLYLINES, "Line String", "Real (40.6)")]
        for name, shapes, geometry, value_type in kinds:
            check_summary(folder / name, geometry, len(shapes), value_type)
            read = features(folder / name)
            check(len(read) == len(shapes), f"{name}: features missing")
            for expected, (fields, parts) in zip(shapes, read):
                check(fields.get("Name") == expected["name"],
                      f"{name}: name {fields.get('Name')!r} != {expected['name']!r}")
                check(abs(float(fields.get("Value", "nan")) - expected["value"]) < 1e-6,
                      f"{name}: value {fields.get('Value')} != {expected['value']}")
                points = [tuple(map(float, p)) for p in expected["points"]]
                if geometry == "Polygon":
                    check_ring(expected["name"], parts, points)
                else:
                    check(parts == [points], f"{expected['name']}: vertices {parts}")

    for failure in failures:
        print("FAILED:", failure)
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
