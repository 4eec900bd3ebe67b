#!/usr/bin/env python3
"""Writes the damaged and hostile library inputs the program must survive.

    make_broken_library.py --corpus DIR    picture files, as seeds for fuzz_picture
    make_broken_library.py --project DIR   a project whose library holds every kind of bad entry:
                                           top-down and other BMP variants, an empty file, a bare
                                           header, text named .bmp, a 65536-pixel-wide picture,
                                           links to a FIFO and to devices, a sparse 3 GiB font,
                                           and hostile.bin, a download whose picture header names
                                           a 65535 x 65535 picture (send it to lxp-sim's pty)

Try it:  tavo-cli check DIR/broken.Tavo   (names the bad pictures and the pages that use them)
The large inputs are made here rather than kept in the repository.
"""
import os
import struct
import sys


def bmp(width, height, bpp, pixels, compression=0, palette=(), masks=()):
    info_size = 108 if masks else 40
    info = struct.pack('<IiiHHIIiiII', info_size, width, height, 1, bpp, compression, len(pixels),
                       2835, 2835, len(palette), 0)
    if masks:
        info += struct.pack('<IIIII', *masks, 0x73524742)
        info += b'\0' * (108 - len(info))
    table = b''.join(struct.pack('<I', c) for c in palette)
    offset = 14 + len(info) + len(table)
    return b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset) + info + table + pixels


def rows24(rows):
    out = b''
    for row in rows:
        line = b''.join(struct.pack('<BBB', c & 0xFF, (c >> 8) & 0xFF, c >> 16) for c in row)
        out += line + b'\0' * (-len(line) % 4)
    return out


PALETTE = (0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF)
PICTURES = {
    'topdown.bmp': bmp(3, -2, 24, rows24([[0xFF0000, 0x00FF00, 0x0000FF], [0xFFFFFF, 0, 0xFF0000]])),
    'palette.bmp': bmp(4, 2, 8, bytes([0, 1, 2, 3, 3, 2, 1, 0]), palette=PALETTE),
    'rle8.bmp': bmp(4, 2, 8, bytes.fromhex('0400000002010202' '00000001'), 1, PALETTE),
    'rle4.bmp': bmp(4, 2, 4, bytes.fromhex('0412000004330000' '0001'), 2, PALETTE),
    'rgb555.bmp': bmp(2, -2, 16, bytes.fromhex('007CE0031F00FF7F')),
    'argb32.bmp': bmp(2, -2, 32, bytes.fromhex('0000FFFF00FF0080FF0000FFFFFFFF00'), 3,
                      masks=(0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)),
    'empty.bmp': b'',
    'headeronly.bmp': bmp(10, 10, 24, b'')[:54],
    'text.bmp': b'just some notes, not a picture\n',
    'wide.bmp': bmp(65536, 1, 1, b'\0' * 8192, palette=(0, 0xFFFFFF)),
    'huge-claim.bmp': bmp(9000, -9000, 24, b''),
}

PROJECT = '''<?xml version="1.0" encoding="UTF-8"?>
<ui>
    <frame frame="frame">
        <frameW>240</frameW>
        <frameH>320</frameH>
        <screenType>0</screenType>
        <dpi>240*320(QVGA-1)</dpi>
    </frame>
    <page id="1">
        <pageImageNum pageImageNum="0"/>
    </page>
    <page id="2">
        <pageImageNum pageImageNum="6"/>
    </page>
</ui>
'''


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def corpus(folder):
    os.makedirs(folder, exist_ok=True)
    for name, data in PICTURES.items():
        write(os.path.join(folder, name), data)


def hostile_download():
    head = struct.pack('>IHHH', 0, 1, 65535, 65535)
    pixels = b'\x11' * 64
    page = b'PIC(0,0,0,65535,65535);\r\n'
    return (b'FS_HEAD(%d);\r\n' % len(head) + head + b'SR_DLOAD(2,%d);\r\n' % len(pixels) + pixels +
            b'PG_DLOAD(0,%d);\r\n' % len(page) + page + b'RESET();\r\n')


def project(folder):
    images = os.path.join(folder, 'tempImages')
    fonts = os.path.join(folder, 'tempFonts')
    os.makedirs(images, exist_ok=True)
    os.makedirs(fonts, exist_ok=True)
    for serial, (name, data) in enumerate(PICTURES.items(), 100001):
        write(os.path.join(images, '%d_%s' % (serial, name)), data)
    fifo = os.path.join(folder, 'pipe')
    if not os.path.exists(fifo):
        os.mkfifo(fifo)
    links = {os.path.join(images, '100090_fifo.bmp'): fifo,
             os.path.join(images, '100091_null.bmp'): '/dev/null',
             os.path.join(fonts, 'C_24.bin'): fifo,
             os.path.join(fonts, 'E_16.bin'): '/dev/zero'}
    for link, target in links.items():
        if not os.path.lexists(link):
            os.symlink(target, link)
    with open(os.path.join(fonts, 'C_16.bin'), 'wb') as f:
        f.truncate(3 << 30)  # sparse: takes no room on disk
    write(os.path.join(folder, 'broken.Tavo'), PROJECT.encode())
    write(os.path.join(folder, 'hostile.bin'), hostile_download())


if __name__ == '__main__':
    if len(sys.argv) != 3 or sys.argv[1] not in ('--corpus', '--project'):
        sys.exit(__doc__)
    (corpus if sys.argv[1] == '--corpus' else project)(sys.argv[2])
