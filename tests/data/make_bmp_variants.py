#!/usr/bin/env python3
"""Writes the BMP variants that the reader tests load (run once; outputs are
committed). Every file holds the same 6 by 4 picture: pixel (x, y) has
colour PALETTE[(x + 2 * y) % 6], except the 1-bit file, whose pixels are
black or white by (x + y) % 2."""
import struct

PALETTE = [(255, 255, 255), (255, 0, 0), (0, 255, 0), (0, 0, 255), (0, 0, 0), (255, 255, 0)]
W, H = 6, 4

def index(x, y, bits):
    return (x + y) % 2 if bits == 1 else (x + 2 * y) % 6

def colour(x, y, bits):
    if bits == 1:
        return [(0, 0, 0), (255, 255, 255)][index(x, y, 1)]
    return PALETTE[index(x, y, bits)]

def pad(row):
    return row + b'\0' * ((4 - len(row) % 4) % 4)

def palette_bytes(bits):
    colours = [(0, 0, 0), (255, 255, 255)] if bits == 1 else PALETTE
    count = 1 << bits
    colours = colours + [(0, 0, 0)] * (count - len(colours))
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in colours), count

def row_bytes(y, bits, masks=None):
    if bits in (1, 4, 8):
        out, acc, n = bytearray(), 0, 0
        for x in range(W):
            acc = (acc << bits) | index(x, y, bits)
            n += bits
            if n == 8:
                out.append(acc); acc, n = 0, 0
        if n:
            out.append(acc << (8 - n))
        return pad(bytes(out))
    out = bytearray()
    for x in range(W):
        r, g, b = colour(x, y, bits)
        if bits == 24:
            out += bytes((b, g, r))
        elif bits == 32:
            out += bytes((b, g, r, 0))
        elif bits == 16 and masks is None:  # 5-5-5
            out += struct.pack('<H', ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
        else:  # 5-6-5 bit fields
            out += struct.pack('<H', ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))
    return pad(bytes(out))

def rle8(y):
    out = bytearray()
    x = 0
    while x < W:
        i = index(x, y, 8); run = 1
        while x + run < W and index(x + run, y, 8) == i:
            run += 1
        out += bytes((run, i)); x += run
    return bytes(out) + b'\0\0'

def rle4(y):
    # Runs of two pixels: each pair of indices in one byte.
    out = bytearray()
    for x in range(0, W, 2):
        out += bytes((2, (index(x, y, 4) << 4) | index(x + 1, y, 4)))
    return bytes(out) + b'\0\0'

def write(name, bits, compression=0, top_down=False, masks=None):
    pal, count = palette_bytes(bits) if bits <= 8 else (b'', 0)
    rows = list(range(H)) if top_down else list(range(H - 1, -1, -1))
    if compression == 1:
        data = b''.join(rle8(y) for y in rows)[:-2] + b'\0\1'
    elif compression == 2:
        data = b''.join(rle4(y) for y in rows)[:-2] + b'\0\1'
    else:
        data = b''.join(row_bytes(y, bits, masks) for y in rows)
    extra = b''.join(struct.pack('<I', m) for m in masks) if masks else b''
    offset = 14 + 40 + len(extra) + len(pal)
    header = struct.pack('<IiiHHIIiiII', 40, W, -H if top_down else H, 1, bits, compression,
                         len(data), 3780, 3780, count, 0)
    with open(name, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset))
        f.write(header + extra + pal + data)

write('bmp1.bmp', 1)
write('bmp4.bmp', 4)
write('bmp4rle.bmp', 4, compression=2)
write('bmp8.bmp', 8)
write('bmp8rle.bmp', 8, compression=1)
write('bmp16.bmp', 16)
write('bmp16bitfields.bmp', 16, compression=3, masks=(0xF800, 0x07E0, 0x001F))
write('bmp24.bmp', 24)
write('bmp24topdown.bmp', 24, top_down=True)
write('bmp32.bmp', 32)
write('bmp32bitfields.bmp', 32, compression=3, masks=(0xFF0000, 0x00FF00, 0x0000FF))
