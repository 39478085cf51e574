#!/usr/bin/env python3
"""Writes the damaged HEIF files the photo format tests read (run once;
outputs are committed), each from a file already in this folder.

    make_heif_damaged.py

From fuzz/heif-identity-of-no-picture.heic (an 'iden' picture, item 2,
built from item 1), with item 1 made an 'hvc1' picture, which decodes; then
one change each, after which libheif 1.15 sees an 'iden' built from an item
it does not know and fails an assertion:

fuzz/heif-identity-in-second-list.heic: item 1 is listed in a second
'iinf' box, which libheif does not read.
fuzz/heif-identity-typeless-entry.heic: an 'infe' of version 1 (no item
type) for item 1 comes before its 'hvc1' entry; libheif takes the first.
fuzz/heif-identity-reference-past-box.heic: the 'dimg' reference's size
ends before the item it names, which is 9; libheif reads on regardless.

From grid-2x2.heic: heif-tile-cut-short.heic, the coded tile's slice cut to
half its length, with the NAL unit's length and the items' extents saying
so: nothing lies outside the file, and libde265 decodes the half it has."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def read(name):
    with open(os.path.join(HERE, name), 'rb') as f:
        return bytearray(f.read())


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def find(data, kind, start=0, end=None):
    """Offset of the first box of `kind` among the boxes from `start`."""
    end = len(data) if end is None else end
    at = start
    while at + 8 <= end:
        size, found = struct.unpack('>I4s', data[at:at + 8])
        if found == kind:
            return at
        at += size
    raise ValueError(kind)


def meta_children(data):
    meta = find(data, b'meta')
    return meta, meta + 12, meta + struct.unpack('>I', data[meta:meta + 4])[0]


def box(kind, body):
    return struct.pack('>I4s', 8 + len(body), kind) + body


def grow_meta(data, meta, by):
    struct.pack_into('>I', data, meta, struct.unpack('>I', data[meta:meta + 4])[0] + by)


def identity_files():
    base = read('fuzz/heif-identity-of-no-picture.heic')
    meta, first, end = meta_children(base)
    iinf = find(base, b'iinf', first, end)
    iinf_size = struct.unpack('>I', base[iinf:iinf + 4])[0]
    entries = []
    at = iinf + 14  # header, version and flags, 16-bit count
    while at < iinf + iinf_size:
        size = struct.unpack('>I', base[at:at + 4])[0]
        entries.append(bytes(base[at:at + size]))
        at += size
    source = next(e for e in entries if struct.unpack('>H', e[12:14])[0] == 1)
    identity = next(e for e in entries if struct.unpack('>H', e[12:14])[0] == 2)
    source = source[:16] + b'hvc1' + source[20:]

    def with_item_list(lists):
        body = b''.join(box(b'iinf', struct.pack('>IH', 0, len(items)) + b''.join(items)) for items in lists)
        data = base[:iinf] + body + base[iinf + iinf_size:]
        grow_meta(data, meta, len(body) - iinf_size)
        return data

    # Nothing is read from the file's own offsets but item 1's data, which
    # libheif never reaches in the broken files.
    write('fuzz/heif-identity-in-second-list.heic', with_item_list([[identity], [source]]))
    typeless = box(b'infe', struct.pack('>IHH', 1 << 24, 1, 0) + b'\0\0')
    write('fuzz/heif-identity-typeless-entry.heic', with_item_list([[typeless, source, identity]]))

    data = with_item_list([[source, identity]])
    meta, first, end = meta_children(data)
    iref = find(data, b'iref', first, end)
    reference = iref + 12
    assert data[reference + 4:reference + 8] == b'dimg'
    struct.pack_into('>I', data, reference, 12)  # header, from and count: no item
    struct.pack_into('>H', data, reference + 12, 9)
    write('fuzz/heif-identity-reference-past-box.heic', data)


def tile_cut_short():
    data = read('grid-2x2.heic')
    meta, first, end = meta_children(data)
    iloc = find(data, b'iloc', first, end)
    assert data[iloc + 8] == 1 and data[iloc + 12:iloc + 14] == b'\x44\x40'  # version 1, 32-bit fields
    count = struct.unpack('>H', data[iloc + 14:iloc + 16])[0]
    at, lengths, tile = iloc + 16, [], None
    for _ in range(count):
        method = struct.unpack('>H', data[at + 2:at + 4])[0]
        base = struct.unpack('>I', data[at + 6:at + 10])[0]
        assert struct.unpack('>H', data[at + 10:at + 12])[0] == 1
        offset, length = struct.unpack('>II', data[at + 12:at + 20])
        if method == 0:
            tile = (base + offset, length)
            lengths.append(at + 16)
        at += 20
    start, length = tile
    nal = struct.unpack('>I', data[start:start + 4])[0]
    assert nal + 4 == length and start + length == len(data)
    kept = nal // 2
    out = data[:start] + struct.pack('>I', kept) + data[start + 4:start + 4 + kept]
    for place in lengths:
        struct.pack_into('>I', out, place, kept + 4)
    mdat = find(out, b'mdat')
    struct.pack_into('>I', out, mdat, len(out) - mdat)
    write('heif-tile-cut-short.heic', out)


identity_files()
tile_cut_short()
