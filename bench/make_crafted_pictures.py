# SPDX-License-Identifier: GPL-3.0-or-later
# Writes small picture files that claim 16384 x 16384 pixels into the folder given: a 16-bit PNG
# of flat rows (1.5 MB), a GIF whose screen holds one pixel, a WebP header without data and an
# RLE BMP that ends at once.
import struct, sys, zlib, os

side = 16384
out = sys.argv[1]

def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)

def png16():
    z = zlib.compressobj(9)
    row = bytes(1 + side * 6)
    parts = [z.compress(row) for _ in range(side)]
    parts.append(z.flush())
    ihdr = struct.pack('>IIBBBBB', side, side, 16, 2, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', b''.join(parts)) + chunk(b'IEND', b'')

def gif_screen():
    # A 16384-square screen holding one 1x1 image.
    return (b'GIF89a' + struct.pack('<HHBBB', side, side, 0, 0, 0)
            + b',' + struct.pack('<HHHHB', 0, 0, 1, 1, 0) + b'\x02\x02\x44\x01\x00' + b';')

def webp_header():
    # A lossless header for 16384 x 16384 and no picture data after it.
    bits = (side - 1) | ((side - 1) << 14)
    vp8l = b'\x2f' + struct.pack('<I', bits) + bytes(4)
    body = b'WEBP' + b'VP8L' + struct.pack('<I', len(vp8l)) + vp8l
    data = b'RIFF' + struct.pack('<I', len(body)) + body
    return data + bytes(max(0, 38 - len(data)))

def rle_bmp():
    palette = bytes(256 * 4)
    pixels = b'\x00\x01'  # end of bitmap
    offset = 14 + 40 + len(palette)
    info = struct.pack('<IiiHHIIiiII', 40, side, side, 1, 8, 1, len(pixels), 2835, 2835, 256, 0)
    return b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset) + info + palette + pixels

for name, make in [('deep16.png', png16), ('screen.gif', gif_screen), ('header.webp', webp_header), ('rle.bmp', rle_bmp)]:
    data = make()
    with open(os.path.join(out, name), 'wb') as f:
        f.write(data)
    print(name, len(data))
