#!/usr/bin/env python3
"""Crafted project archives for the tests of what opening must refuse.

    craft_archives.py KIND SOURCE OUT [ARGUMENT]

SOURCE is a good project archive; OUT gets its members (their bytes as Python's zipfile reads
them, each written anew, deflated) and, by KIND:

  unlisted SIZE          a member of SIZE zero bytes whose central header follows the ones the
                         end record counts (the directory's size covers it)
  unlisted-outside SIZE  the same, but the end record's directory size and offset leave it out
                         (the zip tool finds it anyway)
  inflating SIZE         a member of SIZE zero bytes whose entries declare 10 bytes
  overlapping TOTAL      entries of one shared member of 1 GiB of zeros, as many as make their
                         declared sizes exceed TOTAL bytes together
  long-attribute LENGTH  "project.xml" with an attribute of LENGTH characters on its root
  big-xml SIZE           "project.xml" grown to SIZE bytes by a comment after the root

Only Python's standard library is used.
"""

import struct
import sys
import zlib
import zipfile

CHUNK = 1 << 24


def deflate_zeros(size):
    """The raw deflate stream of `size` zero bytes and their CRC-32. A block of zeros closed
    by a full flush starts afresh, so one such block repeated is the stream of the whole."""
    piece = min(size, CHUNK)
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    block = compressor.compress(bytes(piece)) + compressor.flush(zlib.Z_FULL_FLUSH)
    whole, rest = divmod(size, piece)
    parts = [block] * whole
    crc = 0
    zeros = bytes(piece)
    for _ in range(whole):
        crc = zlib.crc32(zeros, crc)
    tail = zlib.compressobj(9, zlib.DEFLATED, -15)
    parts.append(tail.compress(bytes(rest)) + tail.flush())
    crc = zlib.crc32(bytes(rest), crc)
    return b"".join(parts), crc


def deflate(data):
    compressor = zlib.compressobj(6, zlib.DEFLATED, -15)
    return compressor.compress(data) + compressor.flush(), zlib.crc32(data)


class Member:
    def __init__(self, name, packed, crc, size, declared=None):
        self.name = name.encode("utf-8")
        self.packed = packed
        self.crc = crc
        self.size = size
        self.declared = size if declared is None else declared
        self.offset = 0


def local_header(member):
    return struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, 0, 0x21, member.crc,
                       len(member.packed), member.declared, len(member.name), 0) + member.name


def central_header(member, name=None):
    name = member.name if name is None else name
    return struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 0x031E, 20, 0, 8, 0, 0x21, member.crc,
                       len(member.packed), member.declared, len(name), 0, 0, 0, 0,
                       0o100644 << 16, member.offset) + name


def end_record(count, size, offset):
    return struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, size, offset, 0)


def write(path, members, extra_central=b"", counted=None, directory_size=None,
          directory_offset=None):
    out = bytearray()
    for m in members:
        m.offset = len(out)
        out += local_header(m) + m.packed
    start = len(out)
    directory = b"".join(central_header(m) for m in members)
    out += directory + extra_central
    count = len(members) if counted is None else counted
    size = len(directory) + len(extra_central) if directory_size is None else directory_size
    offset = start if directory_offset is None else directory_offset
    out += end_record(count, size, offset)
    with open(path, "wb") as f:
        f.write(out)


def source_members(path, transform_xml=None):
    members = []
    with zipfile.ZipFile(path) as z:
        for info in z.infolist():
            data = z.read(info)
            if info.filename == "project.xml" and transform_xml:
                data = transform_xml(data)
            packed, crc = deflate(data)
            members.append(Member(info.filename, packed, crc, len(data)))
    return members


def main():
    kind, source, out = sys.argv[1:4]
    argument = int(sys.argv[4]) if len(sys.argv) > 4 else 0
    if kind in ("unlisted", "unlisted-outside"):
        members = source_members(source)
        packed, crc = deflate_zeros(argument)
        bomb = Member("bomb.bin", packed, crc, argument)
        members.append(bomb)
        listed = members[:-1]
        # The bomb's data and its header lie where the tool finds them; the end record counts
        # only the others.
        out_bytes = bytearray()
        for m in members:
            m.offset = len(out_bytes)
            out_bytes += local_header(m) + m.packed
        start = len(out_bytes)
        directory = b"".join(central_header(m) for m in listed)
        hidden = central_header(bomb)
        if kind == "unlisted":
            out_bytes += directory + hidden + end_record(len(listed), len(directory) + len(hidden),
                                                         start)
        else:
            # The record's size and offset describe the counted headers alone.
            out_bytes += directory + hidden + end_record(len(listed), len(directory), start)
        with open(out, "wb") as f:
            f.write(out_bytes)
    elif kind == "inflating":
        members = source_members(source)
        packed, crc = deflate_zeros(argument)
        members.append(Member("bomb.bin", packed, crc, argument, declared=10))
        write(out, members)
    elif kind == "overlapping":
        members = source_members(source)
        size = 1 << 30
        packed, crc = deflate_zeros(size)
        shared = Member("part0.bin", packed, crc, size)
        members.append(shared)
        count = argument // size + 2
        out_bytes = bytearray()
        for m in members:
            m.offset = len(out_bytes)
            out_bytes += local_header(m) + m.packed
        start = len(out_bytes)
        headers = [central_header(m) for m in members[:-1]]
        headers += [central_header(shared, ("part%d.bin" % i).encode()) for i in range(count)]
        directory = b"".join(headers)
        out_bytes += directory + end_record(len(headers), len(directory), start)
        with open(out, "wb") as f:
            f.write(out_bytes)
    elif kind == "long-attribute":
        def lengthen(xml):
            at = xml.index(b"<Project") + len(b"<Project")
            return xml[:at] + b' note="' + b"a" * argument + b'"' + xml[at:]
        write(out, source_members(source, lengthen))
    elif kind == "big-xml":
        def grow(xml):
            filler = argument - len(xml) - len(b"<!--\n-->")
            return xml + b"<!--" + b" " * filler + b"\n-->"
        write(out, source_members(source, grow))
    else:
        sys.exit("unknown kind " + kind)


if __name__ == "__main__":
    main()
