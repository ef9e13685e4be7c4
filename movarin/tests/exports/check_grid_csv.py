#!/usr/bin/env python3
"""Checks the three grid-model files exported by Movarin, on their own and, when the project
is given, against the edit-mode project they came from (standard library only).

Usage: check_grid_csv.py FOLDER [PROJECT]

FOLDER holds "ZND_kilometer-post.csv", "ZND_longitudinal_section.csv" and
"ZND_cross_section.csv". PROJECT is the saved project: its folder ("project.xml" beside the
items' files) or its archive (.emvn).

Checks of the files:
- strict Shift-JIS, line feeds only, a line feed at the end; the headers of the grid model
  exactly; the data between "[start]" and "[end]"; real numbers with 3 decimals;
- kilometer post: the coordinate system 1 to 6 and a zone exactly for 3 to 6 (1 to 19 for the
  plane rectangular systems, 1 to 60 for UTM); 7 fields a section, river name, survey date,
  name, then "y,x" of the start and of the end;
- longitudinal section: the first line 67 fields with the model's coefficients in columns 48
  to 58 and the others empty, the following lines 5 fields; the first interval 0; each
  cumulative distance the running sum of the intervals; the same heads as the kilometer post;
- cross section: one block a section of the kilometer post, its head the same, then rows of
  9 fields: L (ascending), z, panel (empty or 1 to 4), roughness, dead area (empty or 1),
  vegetation height (empty or a number other than 0), an empty field, vegetation density
  (empty or 1) and an empty field; the first row with the defaults (",,0.020,,,,,").
With the project (sections of zero length left out as the export leaves them):
- the sections' names and their start and end points (y before x);
- the interval distances between the crossings of consecutive sections with line "C";
- each row's z on the edited TIN at the section's point at L; a block without rows exactly
  for a section that misses the TIN;
- a row with panel k where line k crosses the section (clamped to the rows; of lines clamped to
  the same row the later one), and any other row with a panel right after a row with that
  panel (a row put in copies its neighbour's);
- the values of each stretch between two rows: those of the topmost polygon of each group
  that holds the stretch's middle, the defaults where none does.
Prints what it found and "OK" last, or "FAIL" and what is wrong, exiting 1.
"""
import math
import os
import re
import sys

sys.dont_write_bytecode = True  # no cache beside the sources
from exported_project import Project, fail, fixed, segment_crossings, inside_polygon  # noqa: E402

KILOMETER_POST = "ZND_kilometer-post.csv"
LONGITUDINAL = "ZND_longitudinal_section.csv"
CROSS_SECTION = "ZND_cross_section.csv"

KILOMETER_POST_HEADER1 = ["座標系,系番号", "int,int", "nd,nd"]
KILOMETER_POST_HEADER2 = ["河川名,topoID,断面ID,左岸y,左岸x,右岸y,右岸x",
                          "char,char,char,double,double,double,double", "nd,nd,nd,m,m,m,m"]
CROSS_SECTION_HEADER = ["河川名,topoID,断面ID,,,,,,", "char,char,char,,,,,,", "nd,nd,nd,,,,,,",
                        "x座標,z座標,パネル,粗度係数,死水域,植生高さ,枝下長さ,植生密度,樹タイプ",
                        "double,double,int,double,int,double,double,int,int",
                        "m,T.P.m,nd,nd,nd,m,m,nd,nd"]
LONGITUDINAL_COLUMNS = [
    ("河川名", "char", "nd"), ("topoID", "char", "nd"), ("断面ID", "char", "nd"),
    ("累加距離", "double", "m"), ("区間距離", "double", "m"), ("計画高水位", "double", "T.P.m"),
    ("計画堤防高", "double", "T.P.m"), ("余裕高", "double", "m"), ("セグメント", "double", "nd"),
    ("左岸痕跡水位", "double", "T.P.m"), ("右岸痕跡水位", "double", "T.P.m"),
    ("河床材料", "double", "nd"), ("粗度係数", "double", "nd"), ("射流コード", "int", "nd"),
    ("左岸堤防天端高", "double", "T.P.m"), ("右岸堤防天端高", "double", "T.P.m"),
    ("左岸堤防天端幅", "double", "m"), ("右岸堤防天端幅", "double", "m"), ("川幅", "double", "m"),
    ("低水路幅", "double", "m"), ("河床高", "double", "T.P.m"), ("河床勾配", "double", "nd"),
    ("左岸堤内地盤高", "double", "T.P.m"), ("右岸堤内地盤高", "double", "T.P.m"),
    ("河積", "double", "m2"), ("左岸高水敷", "double", "m"), ("右岸高水敷", "double", "m"),
    ("（橋梁）抗力係数", "double", "nd"), ("（橋梁）ピア上流側の水路幅", "double", "m"),
    ("（橋梁）全水路幅から、ピア幅の総計を削除した幅", "double", "m"),
    ("（橋梁）ピア１基の幅", "double", "m"), ("（橋梁）ピア本数", "int", "nd"),
    ("(潜水橋)橋脚１基の投影幅", "double", "m"), ("(潜水橋)橋脚の抗力係数", "double", "nd"),
    ("(潜水橋)橋脚長さ", "double", "m"), ("(潜水橋)桁厚さ", "double", "m"),
    ("(潜水橋)桁長さ", "double", "m"), ("(潜水橋)桁の抗力係数", "double", "nd"),
    ("(潜水橋)橋脚基数", "int", "本"), ("(堰)堰高", "double", "m"), ("(堰)堰天端幅", "double", "m"),
    ("(堰)上流側勾配", "double", "nd"), ("(堰)下流側勾配", "double", "nd"), ("(堰)堰幅", "double", "m"),
    ("（段差）段差", "double", "m"), ("（段差）幅", "double", "m"), ("湾曲曲率半径", "double", "m"),
    ("粗度係数水没樹木", "double", "nd"), ("混合係数急拡", "double", "nd"),
    ("混合係数b/B<0.6", "double", "nd"), ("混合係数0.6≦b/B", "double", "nd"),
    ("混合係数0.8＜b/B", "double", "nd"), ("混合係数堤防", "double", "nd"),
    ("混合係数流れに挟まる", "double", "nd"), ("混合係数流れに挟まれ水没", "double", "nd"),
    ("割引率疎", "int", "%"), ("割引率密", "int", "%"), ("本川支川フラグ", "int", "nd"),
    ("流量", "double", "m3/s"), ("出発水位", "double", "T.P.m"), ("接続河川名", "char", "nd"),
    ("接続位置", "char", "nd"), ("合流前川幅Ｂ１", "double", "m"), ("合流前川幅Ｂ２", "double", "m"),
    ("合流後川幅Ｂ３", "double", "m"), ("合流角度θ１", "double", "°"), ("合流角度θ２", "double", "°"),
]
COEFFICIENTS = ["0.05", "0.04", "0.07", "0.04", "0.03", "0.03", "0.10", "0.17", "30", "0", "0"]
ROUNDING = 0.0005
GROUPS = ("roughness", "deadarea", "vegetationheight", "vegetationdensity")
REAL = re.compile(r"-?\d+\.\d{3}")


def real(field, where):
    if not REAL.fullmatch(field) or field == "-0.000":
        fail("%s: %r is no number with 3 decimals" % (where, field))
    return float(field)


def read_lines(folder, name):
    try:
        with open(os.path.join(folder, name), "rb") as f:
            data = f.read()
    except OSError as e:
        fail("%s: %s" % (name, e))
    if b"\r" in data:
        fail("%s: a carriage return" % name)
    if not data.endswith(b"\n"):
        fail("%s: no line feed at the end" % name)
    try:
        text = data.decode("shift_jis")
    except UnicodeDecodeError as e:
        fail("%s: not Shift-JIS: %s" % (name, e))
    return text.split("\n")[:-1]


def data_lines(lines, start, name):
    """The lines between "[start]" at `start` and the closing "[end]", the last line."""
    if len(lines) <= start or lines[start] != "[start]":
        fail("%s: line %d is not [start]" % (name, start + 1))
    if lines[-1] != "[end]" or "[end]" in lines[start:-1]:
        fail("%s: [end] is not the last line only" % name)
    return lines[start + 1:-1]


def check_kilometer_post(folder):
    lines = read_lines(folder, KILOMETER_POST)
    if lines[0:3] != KILOMETER_POST_HEADER1 or lines[4:7] != KILOMETER_POST_HEADER2:
        fail("%s: header %r" % (KILOMETER_POST, lines[0:7]))
    match = re.fullmatch(r"([1-6]),(\d*)", lines[3])
    if not match:
        fail("%s: coordinate-system line %r" % (KILOMETER_POST, lines[3]))
    system, zone = int(match.group(1)), match.group(2)
    zones = {1: 0, 2: 0, 3: 19, 4: 19, 5: 60, 6: 60}[system]
    if (zones == 0 and zone) or (zones and not 1 <= int(zone or "0") <= zones):
        fail("%s: zone %r for coordinate system %d" % (KILOMETER_POST, zone, system))
    rows = []
    for line in data_lines(lines, 7, KILOMETER_POST):
        fields = line.split(",")
        if len(fields) != 7:
            fail("%s: %d fields in %r" % (KILOMETER_POST, len(fields), line))
        rows.append((fields[:3], [real(f, KILOMETER_POST) for f in fields[3:]]))
    print("%s: system %r, %d sections" % (KILOMETER_POST, lines[3], len(rows)))
    return rows


def check_longitudinal(folder, heads):
    lines = read_lines(folder, LONGITUDINAL)
    for k, kind in enumerate(("names", "types", "units")):
        if lines[k] != ",".join(c[k] for c in LONGITUDINAL_COLUMNS):
            fail("%s: header line of %s %r" % (LONGITUDINAL, kind, lines[k]))
    intervals = []
    cumulative = 0.0
    rows = data_lines(lines, 3, LONGITUDINAL)
    if len(rows) != len(heads):
        fail("%s: %d lines for %d sections" % (LONGITUDINAL, len(rows), len(heads)))
    for i, line in enumerate(rows):
        fields = line.split(",")
        if i == 0:
            if len(fields) != 67:
                fail("%s: first line of %d fields" % (LONGITUDINAL, len(fields)))
            if fields[47:58] != COEFFICIENTS or any(fields[5:47]) or any(fields[58:]):
                fail("%s: first line's columns 6 to 67: %r" % (LONGITUDINAL, fields[5:]))
        elif len(fields) != 5:
            fail("%s: line %d of %d fields" % (LONGITUDINAL, i + 1, len(fields)))
        if fields[:3] != heads[i]:
            fail("%s: line %d begins %r, the kilometer post %r" % (LONGITUDINAL, i + 1, fields[:3], heads[i]))
        total, interval = real(fields[3], LONGITUDINAL), real(fields[4], LONGITUDINAL)
        if i == 0 and interval != 0:
            fail("%s: first interval %r" % (LONGITUDINAL, fields[4]))
        cumulative += interval
        if abs(total - cumulative) > ROUNDING * (i + 1) + 1e-9:
            fail("%s: line %d: cumulative %.3f, intervals sum to %.3f" % (LONGITUDINAL, i + 1, total, cumulative))
        intervals.append(interval)
    print("%s: %d lines" % (LONGITUDINAL, len(rows)))
    return intervals


def check_cross_section(folder, heads):
    lines = read_lines(folder, CROSS_SECTION)
    if lines[0:6] != CROSS_SECTION_HEADER:
        fail("%s: header %r" % (CROSS_SECTION, lines[0:6]))
    blocks, k = [], 6
    while k < len(lines):
        if lines[k] != "[start]" or k + 1 >= len(lines):
            fail("%s: line %d %r is no block start" % (CROSS_SECTION, k + 1, lines[k]))
        if "[end]" not in lines[k:]:
            fail("%s: a block without [end]" % CROSS_SECTION)
        end = lines.index("[end]", k)
        head, rows = lines[k + 1].split(","), []
        for line in lines[k + 2:end]:
            f = line.split(",")
            where = "%s block %d" % (CROSS_SECTION, len(blocks) + 1)
            if len(f) != 9 or f[2] not in ("", "1", "2", "3", "4") or f[4] not in ("", "1") \
                    or f[6] or f[7] not in ("", "1") or f[8]:
                fail("%s: row %r" % (where, line))
            if f[5] and real(f[5], where) == 0:
                fail("%s: a vegetation height of 0 written: %r" % (where, line))
            rows.append({"L": real(f[0], where), "z": real(f[1], where), "panel": int(f[2] or "0"),
                         "roughness": fixed(real(f[3], where)), "deadarea": f[4], "vegetationheight": f[5],
                         "vegetationdensity": f[7]})
        if [r["L"] for r in rows] != sorted(r["L"] for r in rows):
            fail("%s: L not ascending in block %d" % (CROSS_SECTION, len(blocks) + 1))
        if rows and lines[k + 2].split(",")[3:] != ["0.020", "", "", "", "", ""]:
            fail("%s: first row of block %d %r" % (CROSS_SECTION, len(blocks) + 1, lines[k + 2]))
        blocks.append((head, rows))
        k = end + 1
    if [b[0] for b in blocks] != heads:
        fail("%s: block heads %r, the kilometer post %r" % (CROSS_SECTION, [b[0] for b in blocks], heads))
    print("%s: %d blocks, %d rows" % (CROSS_SECTION, len(blocks), sum(len(b[1]) for b in blocks)))
    return [b[1] for b in blocks]


def expected_value(group, polygons, point):
    """The field the top polygon of the group holding `point` gives, or the default."""
    for vertices, value in polygons:
        if inside_polygon(point, vertices):
            if group == "roughness":
                return fixed(float(value))
            if group == "deadarea":
                return "" if value.strip().lower() in ("", "0", "false") else "1"
            if group == "vegetationheight":
                return fixed(float(value)) if float(value) != 0 else ""
            return "1" if re.fullmatch(r"\s*[+-]?\d+\s*", value) and int(value) != 0 else ""
    return "0.020" if group == "roughness" else ""


def check_against_project(project, kilometer_post, intervals, blocks):
    sections = [s for s in project.sections if s.length > 0 and math.isfinite(s.length)]
    if [r[0][2] for r in kilometer_post] != [s.name for s in sections]:
        fail("section names %r, the project's %r" % ([r[0][2] for r in kilometer_post], [s.name for s in sections]))
    for (head, numbers), s in zip(kilometer_post, sections):
        for value, expected in zip(numbers, (s.start[1], s.start[0], s.end[1], s.end[0])):
            if abs(value - expected) > ROUNDING + 1e-9:
                fail("kilometer post of %s: %r, the section runs %r to %r (y before x)"
                     % (s.name, numbers, s.start, s.end))

    lines = [project.polyline("referenceinformation", key) for key in ("1", "2", "3", "4", "c")]
    if any(line is None for line in lines):
        fail("the project lacks a reference line")
    centre = [segment_crossings(s.start, s.end, lines[4]) for s in sections]
    for i in range(1, len(sections)):
        d = math.hypot(centre[i][0][0] - centre[i - 1][0][0], centre[i][0][1] - centre[i - 1][0][1])
        if abs(intervals[i] - d) > ROUNDING + 1e-9:
            fail("interval before %s: %.3f, the crossings with C are %.4f apart" % (sections[i].name, intervals[i], d))

    tin = project.tins["designed"]
    polygons = {group: project.polygons(group) for group in GROUPS}
    checked = 0
    for s, rows in zip(sections, blocks):
        if bool(rows) != tin.meets_segment(s.start, s.end):
            fail("%s: %d rows for a section that %s the TIN" % (s.name, len(rows), "meets" if rows else "misses"))
        for r in rows:
            found = tin.elevation(*s.at(r["L"]))
            if found is None:
                fail("%s: L %.3f lies off the TIN" % (s.name, r["L"]))
            if abs(r["z"] - found[0]) > ROUNDING * (1.0 + found[1]) + 1e-6:
                fail("%s: z %.3f at L %.3f, the TIN gives %.4f" % (s.name, r["z"], r["L"], found[0]))
        if not rows:
            continue
        first, last = rows[0]["L"], rows[-1]["L"]
        panel_at = {}
        for k in range(4):
            crossings = segment_crossings(s.start, s.end, lines[k])
            if not crossings:
                fail("%s: line %d does not cross it" % (s.name, k + 1))
            panel_at[k + 1] = min(max(s.l_of(crossings[0]), first), last)
        for k, at in panel_at.items():
            # Lines clamped to the same end row: the later one wins.
            winner = max(j for j, other in panel_at.items() if other == at)
            if not any(r["panel"] == winner and abs(r["L"] - at) <= ROUNDING + 1e-9 for r in rows):
                fail("%s: no row with panel %d at L %.3f" % (s.name, winner, at))
        for j, r in enumerate(rows):
            p = r["panel"]
            if p and abs(r["L"] - panel_at.get(p, math.inf)) > ROUNDING + 1e-9 and (j == 0 or rows[j - 1]["panel"] != p):
                fail("%s: panel %d at L %.3f, neither a crossing of line %d nor after a row of it" % (s.name, p, r["L"], p))
            if j == 0 or r["L"] - rows[j - 1]["L"] <= 4 * ROUNDING:
                continue
            middle = s.at((r["L"] + rows[j - 1]["L"]) / 2.0)
            for group in GROUPS:
                expected = expected_value(group, polygons[group], middle)
                if r[group] != expected:
                    fail("%s: %s %r on the stretch to L %.3f, the polygons give %r" % (s.name, group, r[group], r["L"], expected))
            checked += 1
    print("project: %d sections, %d stretches checked against the polygons" % (len(sections), checked))


def main():
    if len(sys.argv) not in (2, 3):
        fail("usage: check_grid_csv.py FOLDER [PROJECT]")
    folder = sys.argv[1]
    kilometer_post = check_kilometer_post(folder)
    heads = [r[0] for r in kilometer_post]
    intervals = check_longitudinal(folder, heads)
    blocks = check_cross_section(folder, heads)
    if len(sys.argv) == 3:
        check_against_project(Project(sys.argv[2]), kilometer_post, intervals, blocks)
    print("OK")


main()
