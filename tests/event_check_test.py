#!/usr/bin/env python3
"""The checker of the journeys (event_check.py) on small collector dumps: a
good one, and one made bad in each way the checker must catch.

    event_check_test.py CATALOGUE
"""
import copy
import json
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import event_check  # noqa: E402

with open(sys.argv.pop(1), encoding="utf-8") as catalogue_file:
    CATALOGUE = json.load(catalogue_file)
PACKAGE = "velora_setup_ab12cd34ef"


def event(name, **properties):
    return {"type": 6, "name": name, "properties": properties}


def fields(kind, *pairs):
    return {"type": kind, "fields": [{"field": f, "int": v} if isinstance(v, int) else {"field": f, "text": v}
                                     for f, v in pairs]}


# A cancel from the welcome page, as the collector stores it.
GOOD = [
    event("pSoftInstall", is_first_install=True, soft_package_name=PACKAGE, download_time=0,
          parent_app_name="start.exe", install_type="安装器"),
    fields(1, (1, 1)),
    fields(4, (50, 4), (51, "0001"), (52, "0001"), (53, PACKAGE)),
    event("vResourceMgrStart"),
    event("vResourceStatus", resource_status="创建资源成功"),
    event("vInstallPage", is_reinstall=False, windows_name="立即安装"),
    event("vNetworkCheck", network_type="DNS解析", conn_type=1, host_name="127.0.0.53"),
    fields(2, (10, "0001"), (11, "0001")),
    fields(2, (10, "0005"), (11, "0001")),
    event("pCancelInstall", is_reinstall=False, windows_name="立即安装"),
    fields(4, (50, 4), (51, "0001"), (52, "0002")),
    event("vSoftQuit", event_name="软件退出"),
]
EXPECTED = ["pSoftInstall(is_first_install=true)", "@start", "vInstallPage(is_reinstall=false,windows_name=立即安装)",
            "~vNetworkCheck(network_type=DNS解析)", "action(0001,0001)", "action(0005,0001)",
            "pCancelInstall(windows_name=立即安装)", "@quit"]


def changed(change):
    rows = copy.deepcopy(GOOD)
    change(rows)
    return rows


def set_property(index, key, value):
    return lambda rows: rows[index]["properties"].__setitem__(key, value)


# name, dump, the start of the problem the checker must report (None: none).
CASES = [
    ("the good dump", GOOD, None),
    ("a bool sent as a number", changed(set_property(5, "is_reinstall", 0)), "vInstallPage: property is_reinstall is int"),
    ("an int sent as a text", changed(set_property(0, "download_time", "0")), "pSoftInstall: property download_time is text"),
    ("a text sent as an int", changed(set_property(11, "event_name", 1)), "vSoftQuit: property event_name is int"),
    ("an event sent twice", changed(lambda r: r.insert(10, copy.deepcopy(r[9]))), "received pCancelInstall"),
    ("a missing event", changed(lambda r: r.pop(9)), "missing pCancelInstall"),
    ("a missing record", changed(lambda r: r.pop(10)), "received vSoftQuit"),
    ("an event outside the catalogue", changed(lambda r: r.insert(6, event("vSoftInstalled"))),
     "vSoftInstalled: an event outside the catalogue"),
    ("a property outside the catalogue", changed(set_property(3, "is_reinstall", False)),
     "vResourceMgrStart: property is_reinstall outside"),
    ("a property left out", changed(lambda r: r[0]["properties"].pop("install_type")),
     "pSoftInstall: property install_type missing"),
    ("a text the catalogue does not list", changed(set_property(5, "windows_name", "安装")),
     "vInstallPage: windows_name = 安装 is not one"),
    ("records out of order", changed(lambda r: r.insert(7, r.pop(8))), "received action(0005,0001)"),
    ("an action code no page has", changed(lambda r: r.__setitem__(7, fields(2, (10, "0001"), (11, "0009")))),
     "action record"),
    ("an unknown record", changed(lambda r: r.insert(1, fields(3, (1, 1)))), "record of type 3"),
    ("a report record of another package", changed(lambda r: r[2]["fields"][3].__setitem__("text", "other")),
     "report_start: package other"),
    ("an expected value not sent", changed(set_property(5, "windows_name", "覆盖安装")),
     "received vInstallPage"),
    ("an event of another thread that never came", changed(lambda r: r.pop(6)), "missing vNetworkCheck"),
]


class Checker(unittest.TestCase):
    def test_dumps(self):
        for name, rows, problem in CASES:
            with self.subTest(name):
                problems = event_check.check(CATALOGUE, rows, EXPECTED)
                if problem is None:
                    self.assertEqual(problems, [])
                else:
                    self.assertTrue(any(p.startswith(problem) for p in problems), problems)

    def test_download_error_pairs(self):
        rows = [event("vSoftDownloadError", error_type="下载线程出错", error_status="获取头信息失败")]
        self.assertIn("vSoftDownloadError: 下载线程出错 / 获取头信息失败 is no pair",
                      event_check.check(CATALOGUE, rows, ["vSoftDownloadError"]))

    def test_items_name_only_the_catalogue(self):
        with self.assertRaises(ValueError):
            event_check.parse_items(CATALOGUE, ["pSoftInstalled"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
