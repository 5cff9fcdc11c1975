#!/usr/bin/env python3
"""Writes the seed corpus of the fuzzers: model files of every version and a legacy .rk2 file,
and Config.dat records of every version. Run from anywhere; the files go beside this script."""

import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent


def vertex(x, y, kind, dx=0, dy=0, reserved=0):
    return struct.pack("<iiBbbB", x, y, kind, dx, dy, reserved)


STROKES = (
    vertex(10, 10, 1) + vertex(200, 40, 2) + vertex(380, 290, 2)
    + vertex(50, 500, 1, 2, -3) + vertex(-20, 650, 2, -127, 127, 9)
    + vertex(2**31 - 1, -2**31, 3, 0, 0, 255)  # a kind the program keeps as it is
)
COUNT = len(STROKES) // 12


def model_file(version, fields, vertices=STROKES, count=None):
    count = len(vertices) // 12 if count is None else count
    return b"REK2\0" + bytes(5) + struct.pack("<ii", version, count) + fields + vertices


def colours(line, shadow, background):
    return bytes(line) + bytes(shadow) + bytes(background)


def write(folder, name, data):
    path = HERE / "corpus" / folder / name
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


v1 = struct.pack("<iii", 640, 480, 5)
v2 = v1 + struct.pack("<i", 25)
v3 = v2 + colours((0, 0, 0), (138, 72, 0), (238, 156, 0)) + struct.pack("<i", 1)
v4 = v3 + struct.pack("<i", 6)
write("model", "version0.rkm", model_file(0, b""))
write("model", "version1.rkm", model_file(1, v1))
write("model", "version2.rkm", model_file(2, v2))
write("model", "version3.rkm", model_file(3, v3))
write("model", "version4.rkm", model_file(4, v4))
write("model", "version4_empty.rkm", model_file(4, v4, b""))
out_of_range = struct.pack("<iiii", 0, 100000, 1000, 0) + colours(
    (1, 2, 3), (4, 5, 6), (7, 8, 9)) + struct.pack("<ii", -5, 9999)
write("model", "version4_out_of_range.rkm", model_file(4, out_of_range))
write("model", "newer_version.rkm", model_file(5, v4 + bytes(8)))
write("model", "legacy.rk2", struct.pack("<i", COUNT) + STROKES)


def config(version, left=120, top=80, replay=1, wobble=3, speed=40, shadow=0, width=800,
           height=600, line=(0, 0, 0), shade=(138, 72, 0), background=(238, 156, 0),
           padding=(0, 0, 0), line_width=4):
    return (struct.pack("<iiiiiiiii", version, left, top, replay, wobble, speed, shadow, width,
                        height)
            + colours(line, shade, background) + bytes(padding) + struct.pack("<i", line_width))


write("config", "version0.dat", config(0, wobble=0, speed=0, width=0, height=0))
write("config", "version1.dat", config(1))
write("config", "version2.dat", config(2, wobble=7, speed=90, shadow=1, width=320, height=240))
write("config", "version3.dat", config(3, line=(255, 0, 0), padding=(1, 2, 3), line_width=12))
write("config", "version3_out_of_range.dat",
      config(3, left=-2005341822, top=2**31 - 1, wobble=-4, speed=0, width=-1, height=99999,
             line_width=0))
write("config", "short.dat", config(3)[:20])
