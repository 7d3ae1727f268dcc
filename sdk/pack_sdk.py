"""Packs Qmx.dll into the flat SDK archive that the installer carries, and
writes the header with the MD5 of that Qmx.dll, which the installer compares
before it loads an unpacked copy."""
import hashlib
import sys
import zipfile

dll, archive, header = sys.argv[1:4]
with open(dll, "rb") as f:
    data = f.read()
info = zipfile.ZipInfo("Qmx.dll", date_time=(2020, 1, 1, 0, 0, 0))
info.compress_type = zipfile.ZIP_DEFLATED
info.external_attr = 0o644 << 16
with zipfile.ZipFile(archive, "w") as z:
    z.writestr(info, data)
with open(header, "w") as f:
    f.write("#pragma once\n// Made by the build from the Qmx.dll packed into the installer.\n\n")
    f.write(f'inline constexpr char kQmxDllMd5[] = "{hashlib.md5(data).hexdigest()}";\n')
