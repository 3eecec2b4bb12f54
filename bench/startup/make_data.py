#!/usr/bin/env python3
"""A large data folder: instances (nine in ten with an icon of their own, PNG or BMP, 32 to 128
pixels, each of one colour of its own with noise in the low bits, so that it is decoded as a
picture would be), mods, stored jars with their ver.ini, a default icon, and servers that answer
at once with a refusal.
Usage: make_data.py FOLDER [instances [mods [versions]]] (default 5000 1000 300)."""
import os
import struct
import sys
import zipfile
import zlib


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="") as f:
        f.write(text)


def icon_colour(i):
    """A colour of its own for instance i, with the low three bits of each channel free."""
    return ((i * 37) % 32 * 8, (i // 32) % 32 * 8, (i * 11 + 5) % 32 * 8 ^ 0x80)


def pixels(side, rgb, width_bytes):
    """Rows of `side` pixels of colour `rgb` (3 bytes, padded to `width_bytes` per row) with the
    low three bits of every byte random."""
    noise = bytes(b & 7 for b in os.urandom(256)) * (side * width_bytes // 256 + 1)
    row = (bytes(rgb) * side).ljust(width_bytes, b"\0")
    plain = int.from_bytes(row * side, "big")
    mixed = plain | int.from_bytes(noise[:side * width_bytes], "big")
    return mixed.to_bytes(side * width_bytes, "big")


def png(path, side, rgb):
    body = pixels(side, rgb, side * 3)
    raw = b"".join(b"\0" + body[y * side * 3:(y + 1) * side * 3] for y in range(side))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 6)) +
                chunk(b"IEND", b""))


def bmp(path, side, rgb):
    stride = (side * 3 + 3) // 4 * 4
    body = pixels(side, rgb[::-1], stride)  # BGR
    header = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(body), 0, 0, 14 + len(header)) +
                header + body)


root = sys.argv[1]
instances, mods, versions = (int(a) for a in (sys.argv[2:] + ["5000", "1000", "300"][len(sys.argv) - 2:]))
# A closed loopback port: every listing fails at once, as with no network.
write(f"{root}/Oxlip.ini", "".join(f"{k} = http://127.0.0.1:9/{p}\r\n" for k, p in
      [("MCURL", "download/"), ("MCRESURL", "resources/"), ("MCASSETSURL", "assets/"),
       ("MCLOGINURL", "?user=%1%&password=%2%&version=%3%")]) + "LatestVersionNr = 1.2.5\r\n")
os.makedirs(f"{root}/Icons", exist_ok=True)
png(f"{root}/Icons/Default.png", 48, (200, 200, 200))
index = b""
os.makedirs(f"{root}/mcversions", exist_ok=True)
for v in range(versions):
    version = f"1.{v // 10}.{v % 10}"
    name = f"minecraft - {version}.jar"
    text = ("Minecraft Minecraft " + version).encode()
    with zipfile.ZipFile(f"{root}/mcversions/{name}", "w") as z:
        z.writestr("net/minecraft/client/Minecraft.class", b"\xca\xfe\xba\xbe" + bytes([len(text)]) + text)
    index += name.encode() + b"\r\n" + version.encode() + b"\r\n" + struct.pack("<i", 1300000000 + v * 86400)
with open(f"{root}/mcversions/ver.ini", "wb") as f:
    f.write(index)
for m in range(mods):
    write(f"{root}/mods/{m:04X} - mod{m}/mod.ini", f"Name = Mod number {m}\r\nVersion = 1.{m % 10}.0\r\n")
order = []
for i in range(instances):
    folder = f"{i:05X} - Instance_{i}"
    order.append(folder)
    listed = "".join(f"{(i + k) % mods:04X} - mod{(i + k) % mods}\\\r\n" for k in range(min(5, mods)))
    write(f"{root}/Instances/{folder}/settings.ini",
          f"Name = Instance {i}\r\nMineCraftFile = minecraft - 1.2.5.jar\r\nBetaVersion = 0\r\n")
    write(f"{root}/Instances/{folder}/mods.ini", listed)
    if i % 10 != 9:
        side = (32, 48, 64, 128)[i % 4]
        (bmp if i % 3 == 2 else png)(f"{root}/Instances/{folder}/icon.{'bmp' if i % 3 == 2 else 'png'}",
                                     side, icon_colour(i))
# The display order is the reverse of the folders' own, so a start that ignored it shows
# other icons first.
write(f"{root}/Instances/sort.ini", "".join(f"{f}\r\n" for f in reversed(order)))
