#!/usr/bin/env python3
"""Copies the installer with its skin resource taken away: the entry 103 of
type "BinarySystem" is renumbered to 104 (the entries stay in the order the loader
searches them in), so the program no longer finds it.
    without_skin.py IN OUT"""
import sys

import pefile

pe = pefile.PE(sys.argv[1])
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if kind.name is not None and str(kind.name).upper() == "BINARYSYSTEM":
        for entry in kind.directory.entries:
            if entry.id == 103:
                entry.struct.Name = 104
pe.write(sys.argv[2])
pe.close()
check = pefile.PE(sys.argv[2])
ids = [e.id for k in check.DIRECTORY_ENTRY_RESOURCE.entries if k.name is not None for e in k.directory.entries]
sys.exit(0 if 103 not in ids and 104 in ids else 1)
