#!/usr/bin/env python3
"""Compares what the analytics collector received with an expected sequence.

    event_check.py CATALOGUE DUMP ITEM...

DUMP is the output of `velora-stack records --db FILE` (one JSON record a
line, in the order received). Every record must be one the catalogue
(analytics/events.json) describes: a known event with exactly its properties,
each of its type and, where the catalogue lists them, one of its texts; or
one of its collector records with its fixed values. The records must then be
the expected sequence, in order, nothing missing and nothing more. An ITEM is

    NAME                 an event, or a record of the catalogue (launch, ...)
    NAME(key=value,...)  the same with some of its values
    action(PAGE,ACTION)  an action record
    @NAME                the catalogue's sequence NAME
    ~ITEM                once, anywhere (written by another thread)

Prints every problem; exits 1 when there is one.
"""
import json
import re
import sys

ITEM = re.compile(r"^(~?)([A-Za-z_]+)(?:\((.*)\))?$")


def parse_value(kind, text):
    if kind == "bool":
        if text not in ("true", "false"):
            raise ValueError(f"{text} is no bool")
        return text == "true"
    if kind == "int":
        return int(text)
    return text


def parse_items(catalogue, words):
    """The expected items: (anywhere, kind, values) with kind an event name,
    a record name or ("action", page, action)."""
    items = []
    for word in words:
        if word.startswith("@"):
            items += parse_items(catalogue, catalogue["sequences"][word[1:]])
            continue
        m = ITEM.match(word)
        if not m:
            raise ValueError(f"cannot read the item {word}")
        anywhere, name, args = m.group(1) == "~", m.group(2), m.group(3)
        values = {}
        if name == "action":
            page, action = args.split(",")
            items.append((anywhere, ("action", page, action), values))
            continue
        if name not in catalogue["events"] and name not in catalogue["records"]:
            raise ValueError(f"{name} is not in the catalogue")
        for pair in filter(None, (args or "").split(",")):
            key, _, text = pair.partition("=")
            if name in catalogue["events"]:
                values[key] = parse_value(catalogue["types"][key], text)
            else:
                values[key] = text
        items.append((anywhere, name, values))
    return items


def type_of(value):
    if isinstance(value, bool):
        return "bool"
    if isinstance(value, int):
        return "int"
    if isinstance(value, str):
        return "text"
    return type(value).__name__


def field_values(row):
    return {str(f["field"]): f.get("int", f.get("text")) for f in row.get("fields", [])}


def read_record(catalogue, row, package):
    """(kind, values, problems) of one received record."""
    problems = []
    if row["type"] == 6:
        name, properties = row.get("name"), row.get("properties", {})
        wanted = catalogue["events"].get(name)
        if wanted is None:
            return name, properties, [f"{name}: an event outside the catalogue"]
        for key in wanted:
            if key not in properties:
                problems.append(f"{name}: property {key} missing")
        for key, value in properties.items():
            if key not in wanted:
                problems.append(f"{name}: property {key} outside the catalogue")
                continue
            kind = catalogue["types"][key]
            if type_of(value) != kind:
                problems.append(f"{name}: property {key} is {type_of(value)} {json.dumps(value, ensure_ascii=False)}, "
                                f"not {kind}")
            elif wanted[key] is not None and value not in wanted[key]:
                problems.append(f"{name}: {key} = {value} is not one of the catalogue's texts")
        pairs = catalogue["download_errors"]
        if name == "vSoftDownloadError" and properties.get("error_status") not in pairs.get(
                properties.get("error_type"), []):
            problems.append(f"{name}: {properties.get('error_type')} / {properties.get('error_status')} is no pair")
        return name, properties, problems
    fields = field_values(row)
    if row["type"] == 2:
        page, action = fields.get("10"), fields.get("11")
        known = catalogue["pages"].get(page, {}).get("actions", {})
        if action not in known or set(fields) != {"10", "11"}:
            problems.append(f"action record {sorted(fields.items())} outside the catalogue")
        return ("action", page, action), fields, problems
    for name, record in catalogue["records"].items():
        if record["type"] != row["type"] or name == "action" or set(record["fields"]) - {"55"} != set(fields) - {"55"}:
            continue
        fixed = {k: v for k, v in record["fields"].items() if not str(v).startswith("<<")}
        if all(fields.get(k) == v for k, v in fixed.items()):
            if name == "report_start" and package is not None and fields.get("53") != package:
                problems.append(f"report_start: package {fields.get('53')} is not pSoftInstall's {package}")
            return name, fields, problems
    return f"type {row['type']}", fields, [f"record of type {row['type']} {sorted(fields.items())} outside the catalogue"]


def describe(kind, values):
    if isinstance(kind, tuple):
        return "action(%s,%s)" % kind[1:]
    name = kind
    shown = ",".join(f"{k}={json.dumps(v, ensure_ascii=False)}" for k, v in values.items())
    return f"{name}({shown})" if shown else name


def check(catalogue, rows, words):
    """Every problem of the received rows against the expected items."""
    problems = []
    expected = parse_items(catalogue, words)
    ordered = [(kind, values) for anywhere, kind, values in expected if not anywhere]
    anywhere = [(kind, values) for flag, kind, values in expected if flag]
    package = next((r.get("properties", {}).get("soft_package_name") for r in rows
                    if r["type"] == 6 and r.get("name") == "pSoftInstall"), None)
    matches = lambda want, kind, values: want[0] == kind and all(values.get(k) == v for k, v in want[1].items())
    position = 0
    for row in rows:
        kind, values, found = read_record(catalogue, row, package)
        problems += found
        if position < len(ordered) and matches(ordered[position], kind, values):
            position += 1
            continue
        spare = next((w for w in anywhere if matches(w, kind, values)), None)
        if spare:
            anywhere.remove(spare)
            continue
        wanted = describe(*ordered[position]) if position < len(ordered) else "nothing more"
        problems.append(f"received {describe(kind, values)} where {wanted} was expected")
    problems += [f"missing {describe(*w)}" for w in ordered[position:] + anywhere]
    return problems


def main():
    with open(sys.argv[1], encoding="utf-8") as c, open(sys.argv[2], encoding="utf-8") as d:
        catalogue, rows = json.load(c), [json.loads(line) for line in d if line.strip()]
    problems = check(catalogue, rows, sys.argv[3:])
    for p in problems:
        print(f"event check: {p}")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
