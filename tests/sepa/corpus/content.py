#!/usr/bin/env python3
"""The canonical content of a pain file, to compare documents whatever their layout.

    content.py FILE.xml              prints the content as JSON
    content.py --store FILE.xml ...  writes it as "content" into each FILE.json

The content is {"version", "header", "blocks": [{"fields", "transactions"}]}:
every leaf element's text keyed by its path below GrpHdr, below PmtInf (its
children other than the transactions) or below the transaction, such as
"Cdtr/PstlAdr/TwnNm"; attributes as "Amt/InstdAmt@Ccy". A path met more than once
holds a list, and so do AdrLine and Ustrd always. Namespaces are dropped and
whitespace-only text counts as empty; element order within a path is kept, and
attributes on the root (schemaLocation) are not content.
"""

import json
import sys
import xml.etree.ElementTree as ET

TRANSACTIONS = {"CdtTrfTxInf", "DrctDbtTxInf"}
ALWAYS_LISTS = {"AdrLine", "Ustrd"}


def local(tag):
    return tag.rsplit("}", 1)[-1]


def flatten(element, skip=()):
    found = {}

    def add(path, value):
        if path.rsplit("/", 1)[-1] in ALWAYS_LISTS:
            found.setdefault(path, []).append(value)
        elif path in found:
            if not isinstance(found[path], list):
                found[path] = [found[path]]
            found[path].append(value)
        else:
            found[path] = value

    def walk(node, prefix):
        for child in node:
            name = local(child.tag)
            if not prefix and name in skip:
                continue
            path = prefix + name
            for attribute, value in child.attrib.items():
                add(f"{path}@{local(attribute)}", value)
            if len(child):
                walk(child, path + "/")
            else:
                text = child.text or ""
                add(path, text if text.strip() else "")

    walk(element, "")
    return found


def content(path):
    root = ET.parse(path).getroot()
    namespace = root.tag[1:].split("}")[0] if root.tag.startswith("{") else ""
    initiation = root[0]
    header = {}
    blocks = []
    for part in initiation:
        name = local(part.tag)
        if name == "GrpHdr":
            header = flatten(part)
        elif name == "PmtInf":
            blocks.append({
                "fields": flatten(part, skip=TRANSACTIONS),
                "transactions": [flatten(tx) for tx in part if local(tx.tag) in TRANSACTIONS],
            })
        else:
            raise ValueError(f"{path}: {name} unter {local(initiation.tag)} ist kein Inhalt, "
                             "den content.py kennt")
    return {"version": namespace.rsplit(":", 1)[-1], "header": header, "blocks": blocks}


def store(xml_path):
    json_path = xml_path[: -len(".xml")] + ".json"
    with open(json_path, encoding="utf-8") as f:
        record = json.load(f)
    record["content"] = content(xml_path)
    with open(json_path, "w", encoding="utf-8") as f:
        json.dump(record, f, ensure_ascii=False, indent=2)
        f.write("\n")


def main(args):
    if args[:1] == ["--store"] and len(args) > 1:
        for xml_path in args[1:]:
            store(xml_path)
        return 0
    if len(args) == 1:
        json.dump(content(args[0]), sys.stdout, ensure_ascii=False, indent=2)
        sys.stdout.write("\n")
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
