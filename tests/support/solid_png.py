"""A square PNG of one colour, written without any imaging library."""
import struct
import zlib


def png(path, side, rgb):
    row = b"\x00" + bytes(rgb) * side
    raw = zlib.compress(row * side)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", raw) + chunk(b"IEND", b""))
