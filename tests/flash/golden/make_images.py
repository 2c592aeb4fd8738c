#!/usr/bin/env python3
# Writes the image files of the flash golden runs (the simulated
# controller's image format, sim/README.md). Run it again after changing an
# image; the files are kept in the tree so that the tests need no step of
# their own.
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def image(itype, version, payload_len, device=0x9200, subdev=0x00c3):
    payload = bytes((i * 31 + 7) & 0xFF for i in range(payload_len))
    header = b"KXIM" + struct.pack("<HBB4H4HII", 1, itype, 0, *version, 0x1F3C, device, 0x1F3C, subdev,
                                   payload_len, sum(payload) & 0xFFFFFFFF) + bytes(32)
    return header + payload


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


bios = image(2, (7, 1, 0, 33), 40000)           # two pages: 32768 + 7296 bytes
write("bios.img", bios)
write("exact.img", image(2, (7, 2, 0, 40), 32768 - 64))  # exactly one full page
write("firmware.img", image(3, (2, 4, 1, 812), 1000))
write("truncated.img", bios[:33000])            # the header promises more
write("short.img", b"KXIM\x01\x00\x02")          # not even a header
write("otherdev.img", image(2, (9, 0, 0, 1), 100, device=0x7100))
write("empty.img", b"")
