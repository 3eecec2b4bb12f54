#!/usr/bin/env python3
"""A large data folder: 500 instances (every fifth with a PNG icon), 300 mods, 100 stored jars
with their ver.ini, and servers that answer at once with a refusal."""
import os
import struct
import sys
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "support"))
from solid_png import png  # noqa: E402


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="") as f:
        f.write(text)


root = sys.argv[1]
# A closed loopback port: every listing fails at once, as with no network.
write(f"{root}/Oxlip.ini", "".join(f"{k} = http://127.0.0.1:9/{p}\r\n" for k, p in
      [("MCURL", "download/"), ("MCRESURL", "resources/"), ("MCASSETSURL", "assets/"),
       ("MCLOGINURL", "?user=%1%&password=%2%&version=%3%")]) + "LatestVersionNr = 1.2.5\r\n")
index = b""
os.makedirs(f"{root}/mcversions", exist_ok=True)
for v in range(100):
    version = f"1.{v // 10}.{v % 10}"
    name = f"minecraft - {version}.jar"
    text = ("Minecraft Minecraft " + version).encode()
    with zipfile.ZipFile(f"{root}/mcversions/{name}", "w") as z:
        z.writestr("net/minecraft/client/Minecraft.class", b"\xca\xfe\xba\xbe" + bytes([len(text)]) + text)
    index += name.encode() + b"\r\n" + version.encode() + b"\r\n" + struct.pack("<i", 1300000000 + v * 86400)
with open(f"{root}/mcversions/ver.ini", "wb") as f:
    f.write(index)
for m in range(300):
    write(f"{root}/mods/{m:04X} - mod{m}/mod.ini", f"Name = Mod number {m}\r\nVersion = 1.{m % 10}.0\r\n")
order = []
for i in range(500):
    folder = f"{i:05X} - Instance_{i}"
    order.append(folder)
    mods = "".join(f"{(i + k) % 300:04X} - mod{(i + k) % 300}\\\r\n" for k in range(5))
    write(f"{root}/Instances/{folder}/settings.ini",
          f"Name = Instance {i}\r\nMineCraftFile = minecraft - 1.2.5.jar\r\nBetaVersion = 0\r\n")
    write(f"{root}/Instances/{folder}/mods.ini", mods)
    if i % 5 == 0:
        png(f"{root}/Instances/{folder}/icon.png", 64, ((i * 7) % 256, (i * 13) % 256, 90))
write(f"{root}/Instances/sort.ini", "".join(f"{f}\r\n" for f in reversed(order)))
