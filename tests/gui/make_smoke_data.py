#!/usr/bin/env python3
"""Lays out a data folder for the smoke test: 3 instances with icons, 2 stored jars, 3 mods."""
import os
import struct
import sys
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from solid_png import png  # noqa: E402


def jar(path, version):
    text = ("Minecraft Minecraft " + version).encode()
    main_class = b"\xca\xfe\xba\xbe\x00\x00\x00\x32" + b"\x01" + struct.pack(">H", len(text)) + text
    with zipfile.ZipFile(path, "w") as z:
        z.writestr("net/minecraft/client/Minecraft.class", main_class)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="") as f:
        f.write(text)


root = sys.argv[1]
for folder, name, colour in [("alpha", "Alpha world", (200, 40, 40)),
                             ("beta", "Beta modded", (40, 160, 40)),
                             ("gamma", "Gamma server", (40, 40, 200))]:
    write(f"{root}/Instances/{folder}/settings.ini", f"Name = {name}\r\nMineCraftFile = \\\\release\r\n")
    png(f"{root}/Instances/{folder}/icon.png", 64, colour)
write(f"{root}/Instances/sort.ini", "gamma\r\nalpha\r\nbeta\r\n")
os.makedirs(f"{root}/mcversions", exist_ok=True)
jar(f"{root}/mcversions/minecraft - 1.2.5.jar", "1.2.5")
jar(f"{root}/mcversions/minecraft - 1.1.jar", "1.1")
for folder, name, version in [("light", "Better Light", "1.2.5"), ("maps", "Rei's Minimap", "1.1"),
                              ("tools", "Tool Kit", "all")]:
    write(f"{root}/mods/{folder}/mod.ini", f"Name = {name}\r\nVersion = {version}\r\n")
