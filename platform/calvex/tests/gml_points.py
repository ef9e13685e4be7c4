"""A second reader of JPGIS GML elevation grids, for the tests: prints "longitude latitude
elevation" for every point of an XML file or a ZIP of them (its .xml members in sorted name
order), after a step, in reading order. Usage: gml_points.py <file> <step>"""
import sys
import xml.etree.ElementTree as ET
import zipfile

GML = '{http://www.opengis.net/gml/3.2}'


def numbers(root, tag):
    return root.find('.//' + GML + tag).text.split()


def points(data, step):
    root = ET.fromstring(data)
    if root.find('.//' + GML + 'tupleList') is None:
        return
    south, west = map(float, numbers(root, 'lowerCorner'))
    north, east = map(float, numbers(root, 'upperCorner'))
    low_c, low_r = map(int, numbers(root, 'low'))
    high_c, high_r = map(int, numbers(root, 'high'))
    columns, rows = high_c - low_c + 1, high_r - low_r + 1
    start = root.find('.//' + GML + 'startPoint')
    c, r = map(int, start.text.split()) if start is not None else (low_c, low_r)
    cell = (r - low_r) * columns + (c - low_c)
    for line in root.find('.//' + GML + 'tupleList').text.strip().splitlines():
        kind, value = line.split(',')
        col, row = cell % columns, cell // columns
        cell += 1
        if kind.strip() == 'データなし' or float(value) == -9999 or col % step or row % step:
            continue
        lon = west + (col + 0.5) * (east - west) / columns
        lat = north - (row + 0.5) * (north - south) / rows
        yield '%.15f %.15f %s' % (lon, lat, value.strip())


path, step = sys.argv[1], int(sys.argv[2])
if zipfile.is_zipfile(path):
    with zipfile.ZipFile(path) as archive:
        for name in sorted(n for n in archive.namelist() if n.lower().endswith('.xml')):
            for p in points(archive.read(name), step):
                print(p)
else:
    with open(path, 'rb') as f:
        for p in points(f.read(), step):
            print(p)
