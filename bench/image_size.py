#!/usr/bin/env python3
"""Where the bytes of an executable come from, by library, from its link map.

Usage: image_size.py EXE MAP
Prints the file size, then the bytes of code, read-only data, data and unwind
tables that each library (or the project's own code, or the C runtime's
start-up objects) put into the image, largest first.
"""
import os
import re
import sys

SECTION = re.compile(r"^ (\.[A-Za-z_.$0-9]+)\s*(?:\n\s+|\s+)0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", re.M)
COUNTED = (".text", ".rdata", ".data", ".eh_frame", ".rodata", ".gcc_except_table", ".ctors", ".dtors", ".CRT", ".tls")


def owner(source):
    m = re.match(r"(.*?)\((.*)\)$", source)
    archive = os.path.basename(m.group(1) if m else source)
    if archive.startswith("libvelora_") or archive == "objects.a" or archive.endswith(".obj"):
        return "own code (velora_*)"
    if archive.endswith(".o") or archive.endswith(".obj"):
        return "start-up objects"
    return archive


def main():
    exe, map_path = sys.argv[1], sys.argv[2]
    text = open(map_path, encoding="utf-8", errors="replace").read()
    text = text[text.find("Linker script and memory map"):]
    sizes = {}
    for m in SECTION.finditer(text):
        name, size, source = m.group(1), int(m.group(3), 16), m.group(4).strip()
        if not name.startswith(COUNTED) or size == 0 or source.startswith("*"):
            continue
        sizes[owner(source)] = sizes.get(owner(source), 0) + size
    print(f"{os.path.basename(exe)}: {os.path.getsize(exe)} bytes")
    for lib, size in sorted(sizes.items(), key=lambda kv: -kv[1]):
        if size >= 2048:
            print(f"  {lib:32s} {size / 1024:8.1f} KiB")
    print(f"  {'(resources, relocations, headers)':32s} "
          f"{(os.path.getsize(exe) - sum(sizes.values())) / 1024:8.1f} KiB")


if __name__ == "__main__":
    main()
