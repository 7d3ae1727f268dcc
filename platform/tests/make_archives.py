"""Writes the zip archives the archive tests unpack, and archives.txt: one
line "archive entry md5" per entry that holds bytes."""
import hashlib
import os
import random
import sys
import zipfile

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
rng = random.Random(20261211)
manifest = []


def png_like(size):
    return b"\x89PNG\r\n\x1a\n" + bytes(rng.getrandbits(8) for _ in range(size - 8))


def write(name, entries):
    """entries: (entry name, bytes or None for a folder entry, compression)."""
    with zipfile.ZipFile(os.path.join(out, name), "w") as archive:
        for entry, data, method in entries:
            if data is None:
                archive.writestr(zipfile.ZipInfo(entry), b"")
                continue
            info = zipfile.ZipInfo(entry, date_time=(2026, 12, 11, 8, 0, 0))
            info.compress_type = method
            archive.writestr(info, data)
            if data:
                manifest.append(f"{name} {entry} {hashlib.md5(data).hexdigest()}")


stored, deflated = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED
write("skin.zip", [(f"skin_{i:02d}.png", png_like(1000 + 2048 * i + i), stored) for i in range(15)])
write("mixed.zip", [("text.txt", b"velora " * 3000, deflated), ("blob.bin", png_like(5000), stored),
                    ("one.bin", b"1", deflated), ("block.bin", png_like(2048), deflated)])
write("with_empty.zip", [("first.txt", b"first", stored), ("empty.txt", b"", stored),
                         ("last.txt", b"last" * 700, deflated)])
write("with_folder.zip", [("a.txt", b"a", stored), ("sub/", None, stored), ("b.txt", b"b", stored)])
write("nested_name.zip", [("top.png", png_like(300), stored), ("img/a.png", png_like(400), stored),
                          ("after.png", png_like(500), stored)])
write("escape.zip", [("../escaped.txt", b"out", stored), ("inside.txt", b"in", stored)])
write("no_entries.zip", [])
with open(os.path.join(out, "not_a.zip"), "wb") as junk:
    junk.write(b"this is no archive at all\n" * 10)
with open(os.path.join(out, "archives.txt"), "w") as listing:
    listing.write("\n".join(manifest) + "\n")
