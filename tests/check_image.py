"""Checks the signed installer image: a 32-bit GUI PE for i386, icon 102, the
version block, the administrator manifest, no runtime DLLs beside it, and a
signature that verifies."""
import subprocess
import sys
import unittest

import pefile

EXE, VERSION, CERT = sys.argv[1:4]
RUNTIME_DLLS = ("libstdc++", "libgcc", "libwinpthread", "zlib1", "jsoncpp")
# The skin's files and their pixel sizes (twice the design size).
SKIN = {"main_bg.png": (1200, 800), "install_banner.png": (1200, 600), "logo.png": (240, 240),
        "error_icon.png": (60, 60), "inquire_icon.png": (60, 60)}
SKIN.update({name + ".png": (32, 32) for name in (
    "global_btn_close_normal", "global_btn_close_hover", "custom_btn_back_normal", "custom_btn_back_hover",
    "custom_btn_back_press", "main_checkbox_select", "main_checkbox_deselect", "main_word_custom_normal",
    "main_word_custom_hover", "main_word_custom_press")})


class InstallerImage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(EXE)

    def resource(self, type_id):
        for entry in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            if entry.id == type_id:
                return entry
        self.fail(f"no resource of type {type_id}")

    def test_pe32_i386_gui(self):
        self.assertEqual(self.pe.OPTIONAL_HEADER.Magic, 0x10B)  # PE32, not PE32+
        self.assertEqual(self.pe.FILE_HEADER.Machine, 0x14C)  # i386
        self.assertEqual(self.pe.OPTIONAL_HEADER.Subsystem, 2)  # Windows GUI

    def test_icon_102(self):
        ids = [e.id for e in self.resource(pefile.RESOURCE_TYPE["RT_GROUP_ICON"]).directory.entries]
        self.assertIn(102, ids)

    def test_version_block(self):
        strings = {}
        for info in self.pe.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                for table in info.StringTable:
                    strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
        self.assertEqual(strings["ProductVersion"], VERSION)
        self.assertEqual(strings["FileVersion"], VERSION)
        for key in ("CompanyName", "ProductName", "FileDescription", "LegalCopyright"):
            self.assertTrue(strings.get(key), key)
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        parts = [int(p) for p in VERSION.split(".")]
        self.assertEqual([fixed.ProductVersionMS >> 16, fixed.ProductVersionMS & 0xFFFF,
                          fixed.ProductVersionLS >> 16, fixed.ProductVersionLS & 0xFFFF], parts)

    def test_manifest_requires_administrator(self):
        entry = self.resource(pefile.RESOURCE_TYPE["RT_MANIFEST"]).directory.entries[0].directory.entries[0]
        data = self.pe.get_data(entry.data.struct.OffsetToData, entry.data.struct.Size).decode()
        self.assertIn('level="requireAdministrator"', data)
        self.assertIn("supportedOS", data)

    def test_no_runtime_dlls(self):
        imported = [e.dll.decode().lower() for e in self.pe.DIRECTORY_ENTRY_IMPORT]
        for dll in imported:
            self.assertFalse(dll.startswith(RUNTIME_DLLS), dll)

    def test_sdk_archive_105(self):
        import io
        import zipfile
        archive = zipfile.ZipFile(io.BytesIO(self.binary_system(105)))
        self.assertEqual(archive.namelist(), ["Qmx.dll"])  # flat: no folders
        dll = pefile.PE(data=archive.read("Qmx.dll"))
        self.assertTrue(dll.is_dll())
        self.assertEqual(dll.FILE_HEADER.Machine, 0x14C)
        exports = {e.name.decode() for e in dll.DIRECTORY_ENTRY_EXPORT.symbols}
        self.assertIn("qmxCreate", exports)
        self.assertFalse([n for n in exports if "@" in n], "decorated export names")

    def test_skin_archive_103(self):
        import io
        import struct
        import zipfile
        archive = zipfile.ZipFile(io.BytesIO(self.binary_system(103)))
        self.assertEqual(sorted(archive.namelist()), sorted(SKIN))  # flat, exactly these
        infos = archive.infolist()
        largest = sorted(infos, key=lambda i: i.file_size, reverse=True)[:4]
        # The four largest files are deflated (the pictures of the page, the
        # banner and the logo among them), every other one stored.
        self.assertLessEqual({"main_bg.png", "install_banner.png", "logo.png"}, {i.filename for i in largest})
        for info in infos:
            with self.subTest(info.filename):
                data = archive.read(info)
                self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
                width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
                self.assertEqual((width, height), SKIN[info.filename])
                self.assertEqual((depth, colour), (8, 6))  # 8-bit RGBA
                wanted = zipfile.ZIP_DEFLATED if info in largest else zipfile.ZIP_STORED
                self.assertEqual(info.compress_type, wanted)

    def binary_system(self, resource_id):
        kind = next(e for e in self.pe.DIRECTORY_ENTRY_RESOURCE.entries
                    if e.name is not None and str(e.name).upper() == "BINARYSYSTEM")
        entry = next(e for e in kind.directory.entries if e.id == resource_id).directory.entries[0]
        return self.pe.get_data(entry.data.struct.OffsetToData, entry.data.struct.Size)

    def test_signature_verifies(self):
        result = subprocess.run(["osslsigncode", "verify", "-CAfile", CERT, EXE],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("Signature verification: ok", result.stdout)

    def test_tampered_image_fails_verification(self):
        import os
        import tempfile
        data = bytearray(open(EXE, "rb").read())
        data[0x400] ^= 0xFF  # a byte of the first section
        with tempfile.TemporaryDirectory() as folder:
            copy = os.path.join(folder, "tampered.exe")
            open(copy, "wb").write(data)
            result = subprocess.run(["osslsigncode", "verify", "-CAfile", CERT, copy],
                                    capture_output=True, text=True)
        self.assertNotEqual(result.returncode, 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
