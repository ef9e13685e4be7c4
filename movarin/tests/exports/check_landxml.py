#!/usr/bin/env python3
"""Checks a LandXML file exported by Movarin against the edit-mode project it came from, with
the standard library only (and xmllint for the schema when asked).

Usage: check_landxml.py LANDXML PROJECT [--schema XSD] [--setting KEY=VALUE]...

PROJECT is the saved project: its folder ("project.xml" beside the items' files) or its
archive (.emvn). The project gives the cross sections, the reference polylines "1" and "4"
and the two TINs ("readOnlyTin.tin", the base, and "tin.tin", the edited one); the TINs are
the oracle of every elevation: a value is checked against the surface interpolated on the
TIN's own triangles, within 0.0005 for each rounded number it depends on.

Checks:
- with --schema, `xmllint --noout --schema XSD` accepts the file;
- `LandXML`: version "1.2", `date` in xs:date form, `time` in 24-hour xs:time form, the
  schema location the LandXML 1.2 namespace and its "LandXML-1.2.xsd"; its
  children in order Project, Application, CoordinateSystem, Units, the alignments "ldm" and
  "rdm" (when the project has cross sections), "lb" and "rb" (when it has reference polylines
  "1" and "4" of two vertices or more) and Surfaces;
- the header's constants: `Project` holding one `Feature` with the `Property`
  "applicationCriterion" = "QephLandXmlVer.1.2"; `Application` "Movarin"; `CoordinateSystem`
  "CRS1" holding one `Feature` with the `Property` "differTP"; `Units` holding one `Metric`
  with `areaUnit` "squareMeter", `linearUnit` "meter", `volumeUnit` "cubicMeter" and
  `directionUnit` "decimal degrees"; each --setting (keys projectName, horizontalDatum,
  verticalDatum, horizontalCoordinateSystemName, differTp) the text of its attribute;
- every number of a coordinate, station, length or surface finite, fixed with 3 decimals and
  without the sign of a negative zero; every L and H of a profile finite, in general
  notation with at most 6 significant digits (as "%g" writes it), no zero signed, each
  checked within half a unit of its last digit;
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
import math
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True  # no cache beside the sources
from exported_project import Project, fail, fixed  # noqa: E402

NS = "{http://www.landxml.org/schema/LandXML-1.2}"
ROUNDING = 0.0005
LENGTH_TOLERANCE = 1e-3


def numbers(text, where):
    """The numbers of a text of fixed numbers with 3 decimals (no "-0.000", nothing infinite)."""
    values = []
    for token in (text or "").split():
        if not re.fullmatch(r"-?\d+\.\d{3}", token) or token == "-0.000":
            fail("%s: %r is no finite number with 3 decimals" % (where, token))
        values.append(float(token))
    return values


GENERAL = re.compile(r"(-?)(\d+)(?:\.(\d*[1-9]))?(?:e([+-]\d{2,3}))?")


def general_numbers(text, where):
    """The numbers of a text of numbers in "%g" form: at most 6 significant digits, no
    trailing zero after the point, no signed zero, nothing infinite. Each comes with half a
    unit of its last written digit, the most its rounding can have moved it."""
    values = []
    for token in (text or "").split():
        match = GENERAL.fullmatch(token)
        if not match:
            fail("%s: %r is no number in general notation" % (where, token))
        sign, whole, fraction, exponent = match.groups()
        fraction = fraction or ""
        digits = (whole + fraction).lstrip("0")
        if len(digits) > 6 or (exponent and len(whole) != 1) or (sign and not digits):
            fail("%s: %r is not as \"%%g\" writes it" % (where, token))
        value = float(token)
        last = -len(fraction) + (int(exponent) if exponent else 0)
        values.append((value, 0.5 * 10.0 ** last))
    return values


def number(text, where):
    values = numbers(text, where)
    if len(values) != 1:
        fail("%s: %r is not one number" % (where, text))
    return values[0]


def close(a, b, tolerance, where):
    if abs(a - b) > tolerance:
        fail("%s: %.6f, expected %.6f (tolerance %g)" % (where, a, b, tolerance))


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


SETTING_PLACES = {
    "projectName": ("Project", "name"),
    "horizontalDatum": ("CoordinateSystem", "horizontalDatum"),
    "verticalDatum": ("CoordinateSystem", "verticalDatum"),
    "horizontalCoordinateSystemName": ("CoordinateSystem", "horizontalCoordinateSystemName"),
    "differTp": ("CoordinateSystem/Feature/Property", "value"),
}


def check_attributes(element, expected, where):
    for name, value in expected.items():
        if element.get(name) != value:
            fail("%s %s %r, expected %r" % (where, name, element.get(name), value))


def property_of(element, where):
    """The one `Property` of the one `Feature` of an element."""
    return only(only(element, "Feature", where), "Property", where + " Feature")


def check_constants(root, settings):
    xsi = "{http://www.w3.org/2001/XMLSchema-instance}"
    location = NS[1:-1] + " " + NS[1:-1] + "/LandXML-1.2.xsd"
    check_attributes(root, {xsi + "schemaLocation": location}, "LandXML")
    project = only(root, "Project", "LandXML")
    check_attributes(property_of(project, "Project"),
                     {"label": "applicationCriterion", "value": "QephLandXmlVer.1.2"}, "Project")
    check_attributes(only(root, "Application", "LandXML"), {"name": "Movarin"}, "Application")
    system = only(root, "CoordinateSystem", "LandXML")
    check_attributes(system, {"name": "CRS1"}, "CoordinateSystem")
    check_attributes(property_of(system, "CoordinateSystem"), {"label": "differTP"},
                     "CoordinateSystem")
    metric = only(only(root, "Units", "LandXML"), "Metric", "Units")
    check_attributes(metric, {"areaUnit": "squareMeter", "linearUnit": "meter",
                              "volumeUnit": "cubicMeter", "directionUnit": "decimal degrees"},
                     "Metric")
    for key, value in settings.items():
        if key not in SETTING_PLACES:
            fail("unknown setting %r" % key)
        path, attribute = SETTING_PLACES[key]
        element = root
        for tag in path.split("/"):
            element = only(element, tag, key)
        check_attributes(element, {attribute: value}, path)
    print("header: %s; units %s" % (", ".join("%s %r" % item for item in settings.items()),
                                    metric.get("linearUnit")))


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


def check_on_tin(tin, x, y, z, where, z_rounding=ROUNDING, xy_rounding=ROUNDING):
    found = tin.elevation(x, y)
    if found is None:
        fail("%s: (%.3f, %.3f) lies off the TIN" % (where, x, y))
    expected, slope = found
    close(z, expected, z_rounding + 2.0 * slope * xy_rounding + 1e-6, where)


def check_profile(text, section, tin, where):
    length = section.length
    values = general_numbers(text, where)
    if not values or len(values) % 2:
        fail("%s: %d numbers" % (where, len(values)))
    pairs = list(zip(values[0::2], values[1::2]))
    ls = [p[0][0] for p in pairs]
    if ls != sorted(ls):
        fail("%s: L not ascending" % where)
    if ls[0] < -length - LENGTH_TOLERANCE or ls[-1] > 2 * length + LENGTH_TOLERANCE:
        fail("%s: L from %.3f to %.3f for a section of %.3f" % (where, ls[0], ls[-1], length))
    for (l, l_rounding), (h, h_rounding) in pairs:
        check_on_tin(tin, *section.at(l), h, "%s at L %.6g" % (where, l), h_rounding, l_rounding)
    return len(pairs)


def check_distance_marks(alignments, sections, tins):
    ldm = only(alignments["ldm"], "Alignment", "ldm")
    if ldm.get("name") != "left_distance_mark":
        fail("ldm: alignment %r" % ldm.get("name"))
    starts = [s.start for s in sections]
    stations = running(starts)
    check_length(ldm, stations, "ldm")
    check_lines(ldm, starts, [s.name + " L" for s in sections], "ldm")

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
        name, (sx, sy), (ex, ey) = section.name, section.start, section.end
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
    ends = [s.end for s in sections]
    check_length(rdm, running(ends), "rdm")
    check_lines(rdm, ends, [s.name + " R" for s in sections], "rdm")
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
    parser.add_argument("--setting", action="append", default=[], metavar="KEY=VALUE")
    args = parser.parse_args()
    settings = dict(item.split("=", 1) for item in args.setting)

    if args.schema:
        run = subprocess.run(["xmllint", "--noout", "--schema", args.schema, args.landxml],
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, universal_newlines=True)
        if run.returncode != 0:
            fail("xmllint: " + run.stdout.strip())
        print("schema: valid")

    project = Project(args.project)
    sections, tins = project.sections, project.tins
    banks = {key: project.polyline("referenceinformation", key) for key in ("1", "4")}
    banks = {key: vertices for key, vertices in banks.items() if vertices}
    try:
        root = ElementTree.parse(args.landxml).getroot()
    except ElementTree.ParseError as e:
        fail("%s: %s" % (args.landxml, e))
    check_header(root)
    check_constants(root, settings)

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
