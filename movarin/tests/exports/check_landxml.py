#!/usr/bin/env python3
"""Checks a LandXML file exported by Movarin against the edit-mode project it came from, with
the standard library only (and xmllint for the schema when asked).

Usage: check_landxml.py LANDXML PROJECT [--schema XSD]

PROJECT is the saved project: its folder ("project.xml" beside the items' files) or its
archive (.emvn). The project gives the cross sections, the reference polylines "1" and "4"
and the two TINs ("readOnlyTin.tin", the base, and "tin.tin", the edited one); the TINs are
the oracle of every elevation: a value is checked against the surface interpolated on the
TIN's own triangles, within 0.0005 for each rounded number it depends on.

Checks:
- with --schema, `xmllint --noout --schema XSD` accepts the file;
- `LandXML`: version "1.2", `date` in xs:date form, `time` in 24-hour xs:time form; its
  children in order Project, Application, CoordinateSystem, Units, the alignments "ldm" and
  "rdm" (when the project has cross sections), "lb" and "rb" (when it has reference polylines
  "1" and "4" of two vertices or more) and Surfaces;
- every number of a coordinate, station, length, profile or surface finite;
- "ldm" and "rdm": length the sum of the plan distances between the sections' start (end)
  points, one `Line` per consecutive pair with the points' "y x" and names "<name> L" ("R");
  on "ldm" a `PVI` "s z" for each section whose start lies on the edited TIN (s the running
  distance, z the TIN's elevation there), and per section the `CrossSect`s "<name> original"
  and "<name> designed" at station s, each with a `PntList2D` exactly when the section
  lengthened by its own length beyond both ends meets that TIN: an even count of numbers,
  L ascending within [-length, 2·length], every (L, H) on the TIN at S + L·u;
- "lb" and "rb": length the polyline's, one `Line` per segment, `PVI` stations ascending in
  [0, length], each on the edited TIN at its point along the polyline, and one at every
  vertex that lies on the TIN;
- per surface ("original": base TIN, "designed": edited TIN): `Definition` exactly when the
  TIN has triangles; `P` ids 1..n unique, n the TIN's distinct vertices, their "y x z" those
  of the TIN's points; `F` ids in 1..n, one `F` per triangle with that triangle's corners in
  order.
Prints what it found and "OK" last, or "FAIL" and what is wrong, exiting 1.
"""
import argparse
import collections
import datetime
import io
import math
import os
import re
import struct
import subprocess
import sys
import tarfile
import xml.etree.ElementTree as ElementTree
import zipfile

NS = "{http://www.landxml.org/schema/LandXML-1.2}"
ROUNDING = 0.0005
LENGTH_TOLERANCE = 1e-3


def fail(message):
    print("FAIL " + message)
    sys.exit(1)


def fixed(value):
    """A number as the export writes it: 3 decimals, no sign on a zero."""
    text = "%.3f" % value
    return "0.000" if text == "-0.000" else text


def numbers(text, where):
    values = []
    for token in (text or "").split():
        try:
            value = float(token)
        except ValueError:
            fail("%s: %r is no number" % (where, token))
        if not math.isfinite(value):
            fail("%s: %r is not finite" % (where, token))
        values.append(value)
    return values


def number(text, where):
    values = numbers(text, where)
    if len(values) != 1:
        fail("%s: %r is not one number" % (where, text))
    return values[0]


def close(a, b, tolerance, where):
    if abs(a - b) > tolerance:
        fail("%s: %.6f, expected %.6f (tolerance %g)" % (where, a, b, tolerance))


# --- the project ------------------------------------------------------------------------

class ProjectFiles:
    """The files of a saved project, from its folder or its archive."""

    def __init__(self, path):
        self.folder = path if os.path.isdir(path) else None
        self.archive = None if self.folder else zipfile.ZipFile(path)

    def read(self, name):
        """The bytes of a member, or None when there is none."""
        if self.folder:
            path = os.path.join(self.folder, name)
            if not os.path.isfile(path):
                return None
            with open(path, "rb") as f:
                return f.read()
        try:
            return self.archive.read(name)
        except KeyError:
            return None


class Tin:
    """A TIN read from a TIN archive, with a bucket grid over its triangles."""

    def __init__(self, data, name):
        self.points, self.triangles = [], []
        if data:
            self.read(data, name)
        self.index = collections.defaultdict(list)
        if not self.triangles:
            return
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        self.x0, self.y0 = min(xs), min(ys)
        extent = max(max(xs) - self.x0, max(ys) - self.y0, 1e-9)
        self.cell = extent / max(1.0, math.sqrt(len(self.triangles)) / 2.0)
        for k, t in enumerate(self.triangles):
            corners = [self.points[c] for c in t]
            for i, j in self.cells(min(c[0] for c in corners), min(c[1] for c in corners),
                                   max(c[0] for c in corners), max(c[1] for c in corners)):
                self.index[(i, j)].append(k)

    def read(self, data, name):
        with tarfile.open(fileobj=io.BytesIO(data), mode="r:") as archive:
            points = archive.extractfile("coordinatePoints.tpobin").read()
            corners = archive.extractfile("triangles.tribin").read()
        if len(points) < 68 or (len(points) - 68) % 24 or len(corners) % 12:
            fail("%s: malformed TIN archive" % name)
        self.points = [struct.unpack_from("<3d", points, 68 + 24 * i)
                       for i in range((len(points) - 68) // 24)]
        self.triangles = [struct.unpack_from("<3i", corners, k) for k in range(0, len(corners), 12)]
        if any(not 0 <= c < len(self.points) for t in self.triangles for c in t):
            fail("%s: a corner index out of range" % name)

    def cells(self, x1, y1, x2, y2):
        i1, j1 = int((x1 - self.x0) // self.cell), int((y1 - self.y0) // self.cell)
        i2, j2 = int((x2 - self.x0) // self.cell), int((y2 - self.y0) // self.cell)
        return [(i, j) for i in range(i1, i2 + 1) for j in range(j1, j2 + 1)]

    def candidates(self, x1, y1, x2, y2):
        if not self.triangles:
            return set()
        found = set()
        for cell in self.cells(x1, y1, x2, y2):
            found.update(self.index.get(cell, ()))
        return found

    def corners(self, k):
        return [self.points[c] for c in self.triangles[k]]

    def elevation(self, x, y, slack=2e-3):
        """(z, slope) of the plane of a triangle that holds (x, y) or lies within `slack` of
        it; None when none does."""
        best = None
        for k in self.candidates(x - slack, y - slack, x + slack, y + slack):
            a, b, c = self.corners(k)
            gap = distance_to_triangle((x, y), a, b, c)
            if gap <= slack and (best is None or gap < best[0]):
                best = (gap, k)
        if best is None:
            return None
        a, b, c = self.corners(best[1])
        det = (b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1])
        if det == 0:
            return None
        gx = ((b[2] - a[2]) * (c[1] - a[1]) - (c[2] - a[2]) * (b[1] - a[1])) / det
        gy = ((c[2] - a[2]) * (b[0] - a[0]) - (b[2] - a[2]) * (c[0] - a[0])) / det
        return a[2] + gx * (x - a[0]) + gy * (y - a[1]), math.hypot(gx, gy)

    def holds(self, x, y):
        """Whether (x, y) lies on a triangle (its border included, 1e-9 of slack)."""
        return any(distance_to_triangle((x, y), *self.corners(k)) <= 1e-9
                   for k in self.candidates(x, y, x, y))

    def meets_segment(self, p, q):
        for k in self.candidates(min(p[0], q[0]), min(p[1], q[1]), max(p[0], q[0]), max(p[1], q[1])):
            a, b, c = self.corners(k)
            if distance_to_triangle(p, a, b, c) <= 1e-9:
                return True
            if any(segments_meet(p, q, u, v) for u, v in ((a, b), (b, c), (c, a))):
                return True
        return False


def cross(o, a, b):
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])


def point_segment_distance(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)


def distance_to_triangle(p, a, b, c):
    d1, d2, d3 = cross(a, b, p), cross(b, c, p), cross(c, a, p)
    if (d1 >= 0 and d2 >= 0 and d3 >= 0) or (d1 <= 0 and d2 <= 0 and d3 <= 0):
        return 0.0
    return min(point_segment_distance(p, a, b), point_segment_distance(p, b, c),
               point_segment_distance(p, c, a))


def segments_meet(p, q, a, b):
    d1, d2, d3, d4 = cross(a, b, p), cross(a, b, q), cross(p, q, a), cross(p, q, b)
    if ((d1 > 0) != (d2 > 0) or d1 == 0 or d2 == 0) and ((d3 > 0) != (d4 > 0) or d3 == 0 or d4 == 0):
        if d1 == d2 == 0:  # collinear: overlapping boxes
            return (min(p[0], q[0]) <= max(a[0], b[0]) and min(a[0], b[0]) <= max(p[0], q[0])
                    and min(p[1], q[1]) <= max(a[1], b[1]) and min(a[1], b[1]) <= max(p[1], q[1]))
        return True
    return False


def read_project(path):
    files = ProjectFiles(path)
    text = files.read("project.xml")
    if text is None:
        fail("%s holds no project.xml" % path)
    root = ElementTree.fromstring(text)
    sections = []
    for group in root.iter("CrossSectionGroup"):
        for s in group.findall("CrossSection"):
            sections.append((s.get("name", ""), float(s.get("startX", "0")), float(s.get("startY", "0")),
                             float(s.get("endX", "0")), float(s.get("endY", "0"))))
        break
    banks = {}
    for group in root.iter("GeoDataGroup"):
        if group.get("name") != "referenceinformation":
            continue
        for number_, child in enumerate(list(group), start=1):
            if child.tag != "GeoDataPolyLine":
                continue
            key = child.get("caption", "").lower()
            if key not in ("1", "4") or key in banks:
                continue
            data = files.read("geoData/referenceinformation/geodata%d.dat" % number_) or b""
            count = struct.unpack_from("<i", data)[0] if len(data) >= 4 else 0
            vertices = [struct.unpack_from("<2d", data, 4 + 16 * i) for i in range(count)]
            if len(vertices) >= 2:
                banks[key] = vertices
    tins = {"original": Tin(files.read("readOnlyTin.tin"), "readOnlyTin.tin"),
            "designed": Tin(files.read("tin.tin"), "tin.tin")}
    return sections, banks, tins


# --- the file ---------------------------------------------------------------------------

def children(element, tag):
    return element.findall(NS + tag)


def only(element, tag, where):
    found = children(element, tag)
    if len(found) != 1:
        fail("%s: %d %s elements" % (where, len(found), tag))
    return found[0]


def check_header(root):
    if root.tag != NS + "LandXML":
        fail("root element %s" % root.tag)
    if root.get("version") != "1.2":
        fail("version %r" % root.get("version"))
    date, time = root.get("date", ""), root.get("time", "")
    if not re.fullmatch(r"\d{4}-\d{2}-\d{2}", date):
        fail("date %r" % date)
    datetime.date.fromisoformat(date)
    if not re.fullmatch(r"([01]\d|2[0-3]):[0-5]\d:[0-5]\d", time):
        fail("time %r" % time)
    print("LandXML %s %s" % (date, time))


def running(points):
    stations = [0.0]
    for a, b in zip(points, points[1:]):
        stations.append(stations[-1] + math.hypot(b[0] - a[0], b[1] - a[1]))
    return stations


def check_lines(alignment, points, names, where):
    """CoordGeom: a Line from each point to the next, "y x" and the names given."""
    lines = children(only(alignment, "CoordGeom", where), "Line")
    if len(lines) != max(0, len(points) - 1):
        fail("%s: %d lines for %d points" % (where, len(lines), len(points)))
    for i, line in enumerate(lines):
        for tag, k in (("Start", i), ("End", i + 1)):
            end = only(line, tag, where)
            pair = numbers(end.text, "%s line %d %s" % (where, i + 1, tag))
            if len(pair) != 2:
                fail("%s line %d %s: %r" % (where, i + 1, tag, end.text))
            y, x = pair
            close(x, points[k][0], ROUNDING + 1e-9, "%s line %d %s x" % (where, i + 1, tag))
            close(y, points[k][1], ROUNDING + 1e-9, "%s line %d %s y" % (where, i + 1, tag))
            if names and end.get("name") != names[k]:
                fail("%s line %d %s named %r, not %r" % (where, i + 1, tag, end.get("name"), names[k]))


def check_length(alignment, stations, where):
    close(number(alignment.get("length"), where + " length"), stations[-1] if stations else 0.0,
          LENGTH_TOLERANCE, where + " length")
    if alignment.get("staStart") != "0":
        fail("%s: staStart %r" % (where, alignment.get("staStart")))


def pvis(alignment, name, where):
    profile = only(alignment, "Profile", where)
    align = only(profile, "ProfAlign", where)
    if align.get("name") != name:
        fail("%s: ProfAlign %r, not %r" % (where, align.get("name"), name))
    values = []
    for pvi in children(align, "PVI"):
        pair = numbers(pvi.text, where + " PVI")
        if len(pair) != 2:
            fail("%s: PVI %r" % (where, pvi.text))
        values.append(tuple(pair))
    return values


def check_on_tin(tin, x, y, z, where):
    found = tin.elevation(x, y)
    if found is None:
        fail("%s: (%.3f, %.3f) lies off the TIN" % (where, x, y))
    expected, slope = found
    close(z, expected, ROUNDING * (1.0 + 2.0 * slope) + 1e-6, where)


def check_profile(text, section, tin, where):
    name, sx, sy, ex, ey = section
    length = math.hypot(ex - sx, ey - sy)
    values = numbers(text, where)
    if not values or len(values) % 2:
        fail("%s: %d numbers" % (where, len(values)))
    pairs = list(zip(values[0::2], values[1::2]))
    ls = [p[0] for p in pairs]
    if ls != sorted(ls):
        fail("%s: L not ascending" % where)
    if ls[0] < -length - LENGTH_TOLERANCE or ls[-1] > 2 * length + LENGTH_TOLERANCE:
        fail("%s: L from %.3f to %.3f for a section of %.3f" % (where, ls[0], ls[-1], length))
    ux, uy = (ex - sx) / length, (ey - sy) / length
    for l, h in pairs:
        check_on_tin(tin, sx + l * ux, sy + l * uy, h, "%s at L %.3f" % (where, l))
    return len(pairs)


def check_distance_marks(alignments, sections, tins):
    ldm = only(alignments["ldm"], "Alignment", "ldm")
    if ldm.get("name") != "left_distance_mark":
        fail("ldm: alignment %r" % ldm.get("name"))
    starts = [(s[1], s[2]) for s in sections]
    stations = running(starts)
    check_length(ldm, stations, "ldm")
    check_lines(ldm, starts, [s[0] + " L" for s in sections], "ldm")

    designed = tins["designed"]
    expected = [(st, p) for st, p in zip(stations, starts) if designed.holds(*p)]
    found = pvis(ldm, "left_distance_mark_profile", "ldm")
    if len(found) != len(expected):
        fail("ldm: %d PVI for %d section starts on the edited TIN" % (len(found), len(expected)))
    for (station, z), (s, p) in zip(found, expected):
        close(station, s, LENGTH_TOLERANCE, "ldm PVI station")
        check_on_tin(designed, p[0], p[1], z, "ldm PVI at %.3f" % s)

    sects = children(only(ldm, "CrossSects", "ldm"), "CrossSect")
    if len(sects) != 2 * len(sections):
        fail("ldm: %d CrossSect for %d sections" % (len(sects), len(sections)))
    rows = 0
    for i, section in enumerate(sections):
        name, sx, sy, ex, ey = section
        far_start = (2 * sx - ex, 2 * sy - ey)
        far_end = (2 * ex - sx, 2 * ey - sy)
        for k, surface in enumerate(("original", "designed")):
            sect = sects[2 * i + k]
            where = "CrossSect %r" % sect.get("name")
            if sect.get("name") != "%s %s" % (name, surface):
                fail("%s: expected %r" % (where, "%s %s" % (name, surface)))
            close(number(sect.get("sta"), where + " sta"), stations[i], LENGTH_TOLERANCE, where + " sta")
            surfs = children(sect, "CrossSectSurf")
            meets = (far_start != far_end) and tins[surface].meets_segment(far_start, far_end)
            if len(surfs) != (1 if meets else 0):
                fail("%s: %d CrossSectSurf for a section that %s the TIN"
                     % (where, len(surfs), "meets" if meets else "misses"))
            for surf in surfs:
                if surf.get("name") != surface:
                    fail("%s: CrossSectSurf %r" % (where, surf.get("name")))
                rows += check_profile(only(surf, "PntList2D", where).text, section, tins[surface], where)

    rdm = only(alignments["rdm"], "Alignment", "rdm")
    if rdm.get("name") != "right_distance_mark":
        fail("rdm: alignment %r" % rdm.get("name"))
    ends = [(s[3], s[4]) for s in sections]
    check_length(rdm, running(ends), "rdm")
    check_lines(rdm, ends, [s[0] + " R" for s in sections], "rdm")
    if children(rdm, "Profile") or children(rdm, "CrossSects"):
        fail("rdm: a profile or cross sections")
    print("distance marks: %d sections, %d PVI, %d profile points" % (len(sections), len(found), rows))


def point_at(vertices, stations, station):
    for k in range(len(vertices) - 1):
        if station <= stations[k + 1] + 1e-9 or k == len(vertices) - 2:
            a, b = vertices[k], vertices[k + 1]
            span = stations[k + 1] - stations[k]
            t = 0.0 if span == 0 else (station - stations[k]) / span
            return a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])
    return vertices[0]


def check_bank(alignments, code, name, vertices, tin):
    alignment = only(alignments, "Alignment", code)
    if alignment.get("name") != name:
        fail("%s: alignment %r" % (code, alignment.get("name")))
    stations = running(vertices)
    check_length(alignment, stations, code)
    check_lines(alignment, vertices, None, code)
    found = pvis(alignment, name + "_profile", code)
    marks = [s for s, _ in found]
    if marks != sorted(marks):
        fail("%s: stations not ascending" % code)
    for station, z in found:
        if not -1e-9 <= station <= stations[-1] + LENGTH_TOLERANCE:
            fail("%s: station %.3f outside [0, %.3f]" % (code, station, stations[-1]))
        x, y = point_at(vertices, stations, station)
        check_on_tin(tin, x, y, z, "%s PVI at %.3f" % (code, station))
    for vertex, station in zip(vertices, stations):
        if tin.holds(*vertex) and not any(abs(m - station) <= ROUNDING + 1e-9 for m in marks):
            fail("%s: no PVI at the vertex at station %.3f" % (code, station))
    print("%s: %d vertices, %d PVI" % (code, len(vertices), len(found)))


def check_surface(surface, tin, name):
    definitions = children(surface, "Definition")
    if len(definitions) != (1 if tin.triangles else 0):
        fail("surface %s: %d Definition for %d triangles" % (name, len(definitions), len(tin.triangles)))
    if not definitions:
        print("surface %s: no triangles" % name)
        return
    definition = definitions[0]
    if definition.get("surfType") != "TIN":
        fail("surface %s: surfType %r" % (name, definition.get("surfType")))
    points = {}
    for p in children(only(definition, "Pnts", name), "P"):
        id_ = p.get("id", "")
        if not re.fullmatch(r"[1-9]\d*", id_) or id_ in points:
            fail("surface %s: P id %r invalid or repeated" % (name, id_))
        values = numbers(p.text, "surface %s P %s" % (name, id_))
        if len(values) != 3:
            fail("surface %s: P %s holds %r" % (name, id_, p.text))
        points[id_] = (fixed(values[1]), fixed(values[0]), fixed(values[2]))
    n = len(tin.points)
    if set(points) != {str(i) for i in range(1, n + 1)}:
        fail("surface %s: P ids are not 1..%d (%d points)" % (name, n, len(points)))
    expected_points = collections.Counter(tuple(fixed(v) for v in p) for p in tin.points)
    if collections.Counter(points.values()) != expected_points:
        fail("surface %s: the points are not the TIN's" % name)
    faces = collections.Counter()
    for f in children(only(definition, "Faces", name), "F"):
        ids = (f.text or "").split()
        if len(ids) != 3 or any(i not in points for i in ids):
            fail("surface %s: F %r" % (name, f.text))
        faces[tuple(points[i] for i in ids)] += 1
    expected_faces = collections.Counter(
        tuple(tuple(fixed(v) for v in tin.points[c]) for c in t) for t in tin.triangles)
    if faces != expected_faces:
        fail("surface %s: %d faces, not the TIN's %d triangles with their corners"
             % (name, sum(faces.values()), len(tin.triangles)))
    print("surface %s: %d points, %d faces" % (name, n, len(tin.triangles)))


def main():
    parser = argparse.ArgumentParser(description="Checks an exported LandXML file.")
    parser.add_argument("landxml")
    parser.add_argument("project")
    parser.add_argument("--schema")
    args = parser.parse_args()

    if args.schema:
        run = subprocess.run(["xmllint", "--noout", "--schema", args.schema, args.landxml],
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, universal_newlines=True)
        if run.returncode != 0:
            fail("xmllint: " + run.stdout.strip())
        print("schema: valid")

    sections, banks, tins = read_project(args.project)
    try:
        root = ElementTree.parse(args.landxml).getroot()
    except ElementTree.ParseError as e:
        fail("%s: %s" % (args.landxml, e))
    check_header(root)

    expected = ["Project", "Application", "CoordinateSystem", "Units"]
    if sections:
        expected += ["Alignments ldm", "Alignments rdm"]
    expected += ["Alignments lb"] if "1" in banks else []
    expected += ["Alignments rb"] if "4" in banks else []
    expected += ["Surfaces"]
    found = [(c.tag[len(NS):] + (" " + c.get("name", "") if c.tag == NS + "Alignments" else ""))
             for c in root]
    if found != expected:
        fail("LandXML children %r, expected %r" % (found, expected))

    alignments = {c.get("name"): c for c in children(root, "Alignments")}
    if sections:
        check_distance_marks(alignments, sections, tins)
    for key, code, name in (("1", "lb", "left bank"), ("4", "rb", "right bank")):
        if key in banks:
            check_bank(alignments[code], code, name, banks[key], tins["designed"])

    surfaces = children(only(root, "Surfaces", "LandXML"), "Surface")
    if [(s.get("name"), s.get("desc")) for s in surfaces] != [("original", "Original"), ("designed", "Designed")]:
        fail("surfaces %r" % [(s.get("name"), s.get("desc")) for s in surfaces])
    for surface in surfaces:
        check_surface(surface, tins[surface.get("name")], surface.get("name"))
    print("OK")


main()
