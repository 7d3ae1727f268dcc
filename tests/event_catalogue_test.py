#!/usr/bin/env python3
"""The catalogue (analytics/events.json) and the installer's names
(analytics/events.h) say the same: every event, property key, fixed text,
record value, page and action code of one is in the other, and each key has
the type of the setter group the header puts it in.

    event_catalogue_test.py HEADER CATALOGUE
"""
import json
import re
import sys
import unittest

HEADER, CATALOGUE = sys.argv.pop(1), sys.argv.pop(1)
SETTERS = {"SetBoolProperty": "bool", "SetIntProperty": "int", "SetStringProperty": "text"}


def namespaces(text):
    """{namespace: [(constant, value, setter group or None)]} of the header."""
    out = {}
    for name, body in re.findall(r"namespace (\w+) \{(.*?)\n\}", text, re.S):
        group, rows = None, []
        for line in body.splitlines():
            comment = re.match(r"\s*// (\w+)", line)
            if comment and comment.group(1) in SETTERS:
                group = SETTERS[comment.group(1)]
            m = re.search(r"constexpr (?:char (\w+)\[\] = \"([^\"]*)\"|int (\w+) = (-?\d+))", line)
            if m:
                rows.append((m.group(1) or m.group(3), m.group(2) if m.group(1) else int(m.group(4)), group))
        out[name] = rows
    return out


class Catalogue(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(HEADER, encoding="utf-8") as h, open(CATALOGUE, encoding="utf-8") as c:
            cls.h, cls.c = namespaces(h.read()), json.load(c)

    def test_events(self):
        self.assertEqual(sorted(v for _, v, _ in self.h["event"]), sorted(self.c["events"]))

    def test_property_keys_and_types(self):
        self.assertEqual({v: t for _, v, t in self.h["prop"]}, self.c["types"])
        used = {key for properties in self.c["events"].values() for key in properties}
        self.assertEqual(used, set(self.c["types"]))

    def test_fixed_texts(self):
        texts = {t for properties in self.c["events"].values() for allowed in properties.values() for t in allowed or []}
        self.assertEqual({v for _, v, _ in self.h["value"]}, texts)
        for error_type, statuses in self.c["download_errors"].items():
            self.assertEqual(set(statuses) - set(self.c["events"]["vSoftDownloadError"]["error_status"]), set())
            self.assertIn(error_type, self.c["events"]["vSoftDownloadError"]["error_type"])

    def test_records(self):
        r = {n: v for n, v, _ in self.h["record"]}
        records = self.c["records"]
        self.assertEqual(records["launch"]["fields"]["1"], r["kLaunch"])
        for name, kind, code in [("report_start", "kReportStartQuit", "kReportStart"),
                                 ("report_quit", "kReportStartQuit", "kReportQuit"),
                                 ("report_dump", "kReportDump", "kReportStart")]:
            fields = records[name]["fields"]
            self.assertEqual((fields["50"], fields["51"], fields["52"]), (r[kind], r["kReportGroup"], r[code]), name)

    def test_pages_and_actions(self):
        self.assertEqual(sorted(v for _, v, _ in self.h["page"]), sorted(self.c["pages"]))
        codes = {code for page in self.c["pages"].values() for code in page["actions"]}
        self.assertEqual({v for _, v, _ in self.h["action"]}, codes)

    def test_sequences_name_the_catalogue(self):
        for name, items in self.c["sequences"].items():
            for item in items:
                self.assertTrue(item.split("(")[0] in self.c["events"] or item in self.c["records"], (name, item))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
