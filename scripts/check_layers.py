#!/usr/bin/env python3
"""Fails on an include that points up the layer order.

The installer's folders form one order: a folder may include only itself and
the folders before it. A layer's tests/ folder follows its layer's rule. sdk/
(the analytics library, a program of its own) may use common/ and platform/;
its interface header is open to analytics/ and everything after it. backend/
(the native service stack) may use only common/. The top-level tests/ and
bench/ check the finished programs and may use every layer.

Usage: check_layers.py [ROOT]; prints each upward include and exits 1.
"""
import os
import re
import sys

ORDER = ["common", "platform", "analytics", "net", "services", "download", "ui", "pages", "app", "tools"]
INCLUDE = re.compile(r'^[ \t]*#\s*include\s+"([A-Za-z0-9_]+)/', re.M)
SOURCES = (".h", ".hpp", ".cpp", ".cc", ".c", ".rc")


def allowed(folder):
    if folder in ORDER:
        below = ORDER[: ORDER.index(folder) + 1]
        return set(below) | ({"sdk"} if ORDER.index(folder) >= ORDER.index("analytics") else set())
    if folder == "sdk":
        return {"common", "platform", "sdk"}
    if folder == "backend":
        return {"common", "backend"}
    if folder in ("tests", "bench"):
        return set(ORDER) | {"sdk", folder}
    return None


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    known = set(ORDER) | {"sdk", "backend", "tests", "bench"}
    faults = []
    for folder in sorted(os.listdir(root)):
        rule = allowed(folder)
        if rule is None:
            continue
        for dirpath, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith(SOURCES):
                    continue
                path = os.path.join(dirpath, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                for m in INCLUDE.finditer(text):
                    target = m.group(1)
                    if target in known and target not in rule:
                        line = text.count("\n", 0, m.start()) + 1
                        faults.append(f"{os.path.relpath(path, root)}:{line}: {folder}/ includes {target}/")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) against the layer order: " + " ".join(ORDER))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
