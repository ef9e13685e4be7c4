"""The part of a saved edit-mode project that the export checkers compare an export with, read
with the standard library only: the cross sections, the polygons and polylines of the
geographic data and the base and edited TINs. Shared by check_landxml.py and
check_grid_csv.py (Python finds it beside the script that imports it).

A project is its folder ("project.xml" beside the items' files) or its archive (.emvn).
"""
import collections
import io
import math
import os
import struct
import sys
import tarfile
import xml.etree.ElementTree as ElementTree
import zipfile


def fail(message):
    print("FAIL " + message)
    sys.exit(1)


def fixed(value):
    """A number as the exports write it: 3 decimals, no sign on a zero."""
    text = "%.3f" % value
    return "0.000" if text == "-0.000" else text


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


# --- plane geometry ---------------------------------------------------------------------

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


def segment_crossings(p, q, polyline):
    """The points where segment p-q crosses the polyline's segments (proper crossings and
    touches; collinear overlaps give their ends)."""
    points = []
    for a, b in zip(polyline, polyline[1:]):
        d = (q[0] - p[0]) * (b[1] - a[1]) - (q[1] - p[1]) * (b[0] - a[0])
        if d == 0:
            if segments_meet(p, q, a, b):
                points += [v for v in (a, b) if point_segment_distance(v, p, q) == 0]
            continue
        t = ((a[0] - p[0]) * (b[1] - a[1]) - (a[1] - p[1]) * (b[0] - a[0])) / d
        s = ((a[0] - p[0]) * (q[1] - p[1]) - (a[1] - p[1]) * (q[0] - p[0])) / d
        if 0 <= t <= 1 and 0 <= s <= 1:
            points.append((p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])))
    return points


def inside_polygon(p, ring):
    """Even-odd rule; the ring closes from its last vertex to its first."""
    inside = False
    for a, b in zip(ring, ring[1:] + ring[:1]):
        if (a[1] > p[1]) != (b[1] > p[1]):
            x = a[0] + (p[1] - a[1]) * (b[0] - a[0]) / (b[1] - a[1])
            if x > p[0]:
                inside = not inside
    return inside


# --- TINs -------------------------------------------------------------------------------

class Tin:
    """A TIN read from a TIN archive ("coordinatePoints.tpobin" and "triangles.tribin"), with a
    bucket grid over its triangles."""

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
        for k in range(len(self.triangles)):
            corners = self.corners(k)
            for cell in self.cells(min(c[0] for c in corners), min(c[1] for c in corners),
                                   max(c[0] for c in corners), max(c[1] for c in corners)):
                self.index[cell].append(k)

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
        """(z, slope) on the plane of the triangle that holds (x, y), or of the nearest one
        within `slack`; None when none is that near."""
        best = None
        for k in self.candidates(x - slack, y - slack, x + slack, y + slack):
            gap = distance_to_triangle((x, y), *self.corners(k))
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


# --- the project ------------------------------------------------------------------------

class Section:
    def __init__(self, element):
        self.name = element.get("name", "")
        self.start = (float(element.get("startX", "0")), float(element.get("startY", "0")))
        self.end = (float(element.get("endX", "0")), float(element.get("endY", "0")))
        self.length = math.hypot(self.end[0] - self.start[0], self.end[1] - self.start[1])

    def at(self, l):
        """The plan point at signed distance l from the start towards the end."""
        u = ((self.end[0] - self.start[0]) / self.length, (self.end[1] - self.start[1]) / self.length)
        return self.start[0] + l * u[0], self.start[1] + l * u[1]

    def l_of(self, p):
        """The distance of a point on the section from its start."""
        return math.hypot(p[0] - self.start[0], p[1] - self.start[1])


class Project:
    """Sections in order; per geographic-data group its shapes in child order; both TINs."""

    def __init__(self, path):
        files = ProjectFiles(path)
        text = files.read("project.xml")
        if text is None:
            fail("%s holds no project.xml" % path)
        root = ElementTree.fromstring(text)
        self.sections = []
        for group in root.iter("CrossSectionGroup"):
            self.sections = [Section(s) for s in group.findall("CrossSection")]
            break
        # name -> [(tag, caption, vertices, value)], the files numbered by child position.
        self.groups = {}
        for group in root.iter("GeoDataGroup"):
            name = group.get("name", "")
            shapes = self.groups.setdefault(name, [])
            for number, child in enumerate(list(group), start=1):
                data = files.read("geoData/%s/geodata%d.dat" % (name, number)) or b""
                count = struct.unpack_from("<i", data)[0] if len(data) >= 4 else 0
                if len(data) != 4 + 16 * max(count, 0):
                    count = 0
                vertices = [struct.unpack_from("<2d", data, 4 + 16 * i) for i in range(count)]
                shapes.append((child.tag, child.get("caption", ""), vertices, child.get("value", "")))
        self.tins = {"original": Tin(files.read("readOnlyTin.tin"), "readOnlyTin.tin"),
                     "designed": Tin(files.read("tin.tin"), "tin.tin")}

    def polyline(self, group, caption):
        """The first polyline of the group whose caption in lower case is `caption`, with two
        vertices or more; None when there is none."""
        for tag, name, vertices, _ in self.groups.get(group, []):
            if tag == "GeoDataPolyLine" and name.lower() == caption and len(vertices) >= 2:
                return vertices
        return None

    def polygons(self, group):
        """(vertices, value text) of the group's polygons of three vertices or more, top first."""
        return [(vertices, value) for tag, _, vertices, value in self.groups.get(group, [])
                if tag == "GeoDataPolygon" and len(vertices) >= 3]
