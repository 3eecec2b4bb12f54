#!/usr/bin/env python3
"""Zip archives for the mod tests, written by Python's zipfile as other tools write them.

tree ARCHIVE FOLDER      every file and folder below FOLDER, names as on disk
hostile ARCHIVE ABSNAME  a harmless file, "../../escape.txt", ABSNAME and a link leaving the
                         output folder
bomb ARCHIVE MEGABYTES   one entry of that many megabytes of zeros, deflated at level 9
"""
import os
import stat
import sys
import zipfile


def tree(archive, folder):
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            for name in sorted(dirs) + sorted(files):
                path = os.path.join(root, name)
                z.write(path, os.path.relpath(path, folder))


def hostile(archive, absolute):
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("mods/harmless.txt", "fine")
        z.writestr("../../escape.txt", "escaped")
        z.writestr(absolute, "absolute")
        link = zipfile.ZipInfo("config/up")
        link.create_system = 3
        link.external_attr = (stat.S_IFLNK | 0o777) << 16
        z.writestr(link, "../../../..")
        z.writestr("config/up/escape-through-link.txt", "through")


def bomb(archive, megabytes):
    chunk = bytes(1 << 20)
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        with z.open("zeros.bin", "w", force_zip64=True) as out:
            for _ in range(megabytes):
                out.write(chunk)


if __name__ == "__main__":
    mode, archive = sys.argv[1], sys.argv[2]
    if mode == "tree":
        tree(archive, sys.argv[3])
    elif mode == "hostile":
        hostile(archive, sys.argv[3])
    elif mode == "bomb":
        bomb(archive, int(sys.argv[3]))
    else:
        sys.exit("unknown mode " + mode)
