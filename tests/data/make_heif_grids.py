#!/usr/bin/env python3
"""Writes the HEIF and AVIF grid pictures the photo format tests read (run
once; outputs are committed). Each is a 2 by 2 grid of one 64 by 64 tile
(red, green / blue, yellow quarters) written by libheif 1.15 at quality 90
(x265 for HEIF, aom for AVIF); the four tiles share its coded data.

    make_heif_grids.py TILE.heic TILE.avif

grid-2x2.heic, grid-2x2.avif: a 128 by 128 picture, as cameras write them.
grid-canvas-huge.avif: 'ispe' says 128 by 128, the grid 26991 by 30316.
grid-canvas-not-ispe.heic: 'ispe' says 128 by 128, the grid 120 by 100."""
import struct
import sys


def boxes(data):
    found, at = [], 0
    while at + 8 <= len(data):
        size, kind = struct.unpack('>I4s', data[at:at + 8])
        found.append((kind, data[at + 8:at + size]))
        at += size
    return found


def box(kind, body):
    return struct.pack('>I4s', 8 + len(body), kind) + body


def full_box(kind, version, flags, body):
    return box(kind, struct.pack('>I', version << 24 | flags) + body)


def first_item(meta, whole):
    """The properties and the coded data of item 1 in a file libheif wrote."""
    children = dict(boxes(meta[4:]))
    iprp = dict(boxes(children[b'iprp']))
    properties = boxes(iprp[b'ipco'])
    ipma = iprp[b'ipma']
    version, flags = ipma[0], int.from_bytes(ipma[1:4], 'big')
    at, associations = 8, None
    for _ in range(struct.unpack('>I', ipma[4:8])[0]):
        width = 2 if version < 1 else 4
        item = int.from_bytes(ipma[at:at + width], 'big')
        at += width
        count, at = ipma[at], at + 1
        links = []
        for _ in range(count):
            if flags & 1:
                value, at = struct.unpack('>H', ipma[at:at + 2])[0], at + 2
                links.append((value >> 15, value & 0x7fff))
            else:
                value, at = ipma[at], at + 1
                links.append((value >> 7, value & 0x7f))
        if item == 1:
            associations = links
    iloc = children[b'iloc']
    version, offset_size, length_size, base_size = iloc[0], iloc[4] >> 4, iloc[4] & 15, iloc[5] >> 4
    at = 8

    def read(width):
        nonlocal at
        value = int.from_bytes(iloc[at:at + width], 'big')
        at += width
        return value

    coded = None
    for _ in range(struct.unpack('>H', iloc[6:8])[0]):
        item = read(2)
        if version == 1:
            read(2)
        read(2)
        base, data = read(base_size), b''
        for _ in range(read(2)):
            offset, length = read(offset_size), read(length_size)
            data += whole[base + offset:base + offset + length]
        if item == 1:
            coded = data
    return children[b'hdlr'], properties, associations, coded


def grid_file(tile_path, ispe, canvas):
    whole = open(tile_path, 'rb').read()
    top = dict(boxes(whole))
    hdlr, properties, associations, coded = first_item(top[b'meta'], whole)
    tile_type = b'av01' if any(kind == b'av1C' for kind, _ in properties) else b'hvc1'
    ipco = box(b'ipco', b''.join(box(kind, body) for kind, body in properties) +
               full_box(b'ispe', 0, 0, struct.pack('>II', *ispe)))
    entries = b''.join(struct.pack('>HB', item, len(associations)) +
                       bytes(essential << 7 | index for essential, index in associations) for item in range(1, 5))
    entries += struct.pack('>HBB', 5, 1, len(properties) + 1)
    ipma = full_box(b'ipma', 0, 0, struct.pack('>I', 5) + entries)
    iinf = full_box(b'iinf', 0, 0, struct.pack('>H', 5) + b''.join(
        full_box(b'infe', 2, 1, struct.pack('>HH', item, 0) + tile_type + b'\0') for item in range(1, 5)) +
        full_box(b'infe', 2, 0, struct.pack('>HH', 5, 0) + b'grid\0'))
    grid = struct.pack('>BBBBHH', 0, 0, 1, 1, *canvas)
    iref = full_box(b'iref', 0, 0, box(b'dimg', struct.pack('>HH4H', 5, 4, 1, 2, 3, 4)))

    def head(data_at):
        locations = struct.pack('>BBH', 0x44, 0x40, 5)
        for item in range(1, 5):
            locations += struct.pack('>HHHIHII', item, 0, 0, 0, 1, data_at, len(coded))
        locations += struct.pack('>HHHIHII', 5, 1, 0, 0, 1, 0, len(grid))
        meta = full_box(b'meta', 0, 0, box(b'hdlr', hdlr) + full_box(b'pitm', 0, 0, struct.pack('>H', 5)) +
                        full_box(b'iloc', 1, 0, locations) + iinf + iref + box(b'iprp', ipco + ipma) +
                        box(b'idat', grid))
        return box(b'ftyp', top[b'ftyp']) + meta

    start = head(0)
    return head(len(start) + 8) + box(b'mdat', coded)


def main():
    heic, avif = sys.argv[1], sys.argv[2]
    for name, tile, ispe, canvas in [('grid-2x2.heic', heic, (128, 128), (128, 128)),
                                     ('grid-2x2.avif', avif, (128, 128), (128, 128)),
                                     ('grid-canvas-huge.avif', avif, (128, 128), (26991, 30316)),
                                     ('grid-canvas-not-ispe.heic', heic, (128, 128), (120, 100))]:
        with open(name, 'wb') as out:
            out.write(grid_file(tile, ispe, canvas))


main()
