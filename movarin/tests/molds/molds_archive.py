"""Reads and alters the molds of a project archive, as a second reader beside the program.

    molds_archive.py dump ARCHIVE MEMBER...       one line per mold file: "type|baseL,baseH|l h;l h;..."
    molds_archive.py copy ARCHIVE SOURCE TARGET   TARGET gets the bytes of SOURCE
    molds_archive.py truncate ARCHIVE MEMBER N    MEMBER keeps its first N bytes
    molds_archive.py drop ARCHIVE TAG             every TAG element leaves project.xml
    molds_archive.py comment ARCHIVE TAG          a comment becomes the first child of each TAG

A mold file is the 64-byte file header (title "Mold binary file"), then little-endian
int32 edit type, float64 baseL, float64 baseH, int32 n and n pairs (float64 l, float64 h).
"""
import re
import struct
import sys
import zipfile

HEADER = 64


def read_mold(data):
    if not data.startswith(b"Mold binary file"):
        raise ValueError("not a mold file")
    edit_type, base_l, base_h, n = struct.unpack_from("<iddi", data, HEADER)
    offset = HEADER + struct.calcsize("<iddi")
    if len(data) != offset + 16 * n:
        raise ValueError("size %d for %d points" % (len(data), n))
    values = struct.unpack_from("<%dd" % (2 * n), data, offset)
    points = ";".join("%g %g" % (values[2 * i], values[2 * i + 1]) for i in range(n))
    return "%d|%g,%g|%s" % (edit_type, base_l, base_h, points)


def rewrite(archive, change):
    with zipfile.ZipFile(archive) as source:
        members = [(info, source.read(info)) for info in source.infolist()]
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as target:
        for info, data in members:
            target.writestr(info.filename, change(info.filename, data))


def main(command, archive, *arguments):
    if command == "dump":
        with zipfile.ZipFile(archive) as source:
            for member in arguments:
                print(read_mold(source.read(member)))
    elif command == "copy":
        with zipfile.ZipFile(archive) as source:
            replacement = source.read(arguments[0])
        rewrite(archive, lambda name, data: replacement if name == arguments[1] else data)
    elif command == "truncate":
        size = int(arguments[1])
        rewrite(archive, lambda name, data: data[:size] if name == arguments[0] else data)
    elif command in ("drop", "comment"):
        tag = re.escape(arguments[0])
        if command == "drop":
            pattern = re.compile(r"<%s\b[^>]*/>|<%s\b[^>]*>.*?</%s>" % (tag, tag, tag), re.S)
            edit = lambda text: pattern.sub("", text)
        else:
            pattern = re.compile(r"(<%s\b[^>]*(?<!/)>)" % tag)
            edit = lambda text: pattern.sub(r"\1<!-- kept by hand -->", text)

        def change(name, data):
            return edit(data.decode("utf-8")).encode("utf-8") if name == "project.xml" else data
        rewrite(archive, change)
    else:
        raise SystemExit("unknown command " + command)


if __name__ == "__main__":
    main(*sys.argv[1:])
