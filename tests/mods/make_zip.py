#!/usr/bin/env python3
"""Zip archives for the mod tests, written by Python's zipfile as other tools write them.

tree ARCHIVE FOLDER      every file and folder below FOLDER, names as on disk
hostile ARCHIVE KIND [NAME]
                         a harmless file and one hostile entry: KIND "parent" for
                         "../../escape.txt", "absolute" for the absolute NAME, "link" for a link
                         up three levels with a file written through it
bomb ARCHIVE MEGABYTES   one entry of that many megabytes of zeros, deflated at level 9
liar ARCHIVE MEGABYTES   the same, but its headers say the entry holds 1000 bytes
"""
import os
import stat
import struct
import sys
import zipfile


def tree(archive, folder):
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            for name in sorted(dirs) + sorted(files):
                path = os.path.join(root, name)
                z.write(path, os.path.relpath(path, folder))


def hostile(archive, kind, name=None):
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("mods/harmless.txt", "fine")
        if kind == "parent":
            z.writestr("../../escape.txt", "escaped")
        elif kind == "absolute":
            z.writestr(name, "absolute")
        elif kind == "link":
            link = zipfile.ZipInfo("config/up")
            link.create_system = 3
            link.external_attr = (stat.S_IFLNK | 0o777) << 16
            z.writestr(link, "../../..")
            z.writestr("config/up/escape-through-link.txt", "through")
        else:
            sys.exit("unknown kind " + kind)


def bomb(archive, megabytes, zip64=True):
    chunk = bytes(1 << 20)
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        with z.open("zeros.bin", "w", force_zip64=zip64) as out:
            for _ in range(megabytes):
                out.write(chunk)


def liar(archive, megabytes):
    bomb(archive, megabytes, zip64=False)
    data = bytearray(open(archive, "rb").read())
    local = data.find(b"PK\x03\x04")
    central = data.find(b"PK\x01\x02")
    # Without zip64 the sizes sit in the headers themselves.
    struct.pack_into("<I", data, local + 22, 1000)
    struct.pack_into("<I", data, central + 24, 1000)
    open(archive, "wb").write(bytes(data))


if __name__ == "__main__":
    mode, archive = sys.argv[1], sys.argv[2]
    if mode == "tree":
        tree(archive, sys.argv[3])
    elif mode == "hostile":
        hostile(archive, *sys.argv[3:])
    elif mode == "bomb":
        bomb(archive, int(sys.argv[3]))
    elif mode == "liar":
        liar(archive, int(sys.argv[3]))
    else:
        sys.exit("unknown mode " + mode)
