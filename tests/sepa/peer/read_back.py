#!/usr/bin/env python3
"""Reads pain files back with an independent parser and compares what it finds.

    read_back.py --compile CLASSES
        compiles PainPeer.java into the folder CLASSES (a CTest fixture does this).
    read_back.py [--classes CLASSES] PAINFILE EXPECTED.json [PAINFILE EXPECTED.json ...]
        checks each file against its schema (taken from the parser's jar), its
        control figures (NbOfTxs, CtrlSum) against its transactions, and the
        transactions the peer reads against the expected list, key by key;
        amounts are compared as decimals, so "12.5" equals "12.50". CLASSES
        defaults to $ZORDTA_SEPA_PEER_CLASSES.

EXPECTED.json is a list with one object per transaction, in file order, with the
keys PainPeer.java documents; a key the peer prints must be expected and the
other way round. Every difference is reported; the exit code is 0 only when
there is none.
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile
from decimal import Decimal, InvalidOperation
from pathlib import Path

HERE = Path(__file__).resolve().parent
JARS = "/usr/share/java"
PARSER_JAR = f"{JARS}/hbci4j-core.jar"
# The parser and the XML binding it needs on Java 11 and later.
CLASSPATH = [PARSER_JAR] + [
    f"{JARS}/{jar}.jar"
    for jar in ("jaxb-api", "jaxb-runtime", "javax.activation", "istack-commons-runtime", "txw2")
]


def compile_peer(classes):
    os.makedirs(classes, exist_ok=True)
    subprocess.run(
        ["javac", "-Xlint:all,-path", "-Werror", "-d", classes, "-cp", ":".join(CLASSPATH),
         str(HERE / "PainPeer.java")],
        check=True)


def schema_problems(pain_file, schema_dir):
    """The file against the schema its namespace names, as the jar ships it."""
    try:
        root = ET.parse(pain_file).getroot()
    except ET.ParseError as error:
        return [f"kein wohlgeformtes XML: {error}"]
    namespace = root.tag[1:].split("}")[0] if root.tag.startswith("{") else ""
    name = namespace.rsplit(":", 1)[-1] + ".xsd"
    target = Path(schema_dir) / name
    if not target.exists():
        with zipfile.ZipFile(PARSER_JAR) as jar:
            if name not in jar.namelist():
                return [f"kein Schema für den Namensraum {namespace!r}"]
            target.write_bytes(jar.read(name))
    run = subprocess.run(["xmllint", "--noout", "--schema", str(target), str(pain_file)],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return [f"nicht schemagültig: {line}" for line in run.stderr.splitlines()
                if line.strip() and not line.endswith(" fails to validate")]
    return []


def control_figure_problems(pain_file):
    """NbOfTxs and CtrlSum of the group header and of each payment block."""
    root = ET.parse(pain_file).getroot()
    ns = root.tag[: root.tag.index("}") + 1] if root.tag.startswith("{") else ""
    problems = []

    def check(where, block, amounts):
        count = block.find(f"{ns}NbOfTxs")
        if count is not None and count.text != str(len(amounts)):
            problems.append(f"{where}: NbOfTxs {count.text}, aber {len(amounts)} Zahlungen")
        total = block.find(f"{ns}CtrlSum")
        if total is not None and Decimal(total.text) != sum(amounts, Decimal(0)):
            problems.append(f"{where}: CtrlSum {total.text}, aber Summe {sum(amounts)}")

    every_amount = []
    for number, block in enumerate(root.iter(f"{ns}PmtInf"), 1):
        amounts = [Decimal(a.text) for a in block.iter(f"{ns}InstdAmt")]
        check(f"PmtInf {number}", block, amounts)
        every_amount += amounts
    for header in root.iter(f"{ns}GrpHdr"):
        check("GrpHdr", header, every_amount)
    return problems


def read_with_peer(pain_file, classes):
    run = subprocess.run(
        ["java", "-cp", ":".join([classes] + CLASSPATH), "PainPeer", str(pain_file)],
        capture_output=True, text=True)
    if run.returncode != 0:
        return None, run.stderr.strip() or f"Exit-Code {run.returncode}"
    return [json.loads(line) for line in run.stdout.splitlines()], None


def same_amount(expected, actual):
    try:
        read = Decimal(actual)
        return read == Decimal(str(expected)) and read.as_tuple().exponent >= -2
    except (InvalidOperation, TypeError):
        return False


def differences(expected, actual):
    found = []
    if len(expected) != len(actual):
        found.append(f"{len(expected)} Zahlungen erwartet, {len(actual)} gelesen")
    for number, (want, got) in enumerate(zip(expected, actual), 1):
        for key in sorted(set(want) | set(got), key=lambda k: (k not in want, k)):
            if key not in got:
                found.append(f"Zahlung {number}: {key} fehlt (erwartet {want[key]!r})")
            elif key not in want:
                found.append(f"Zahlung {number}: {key} unerwartet ({got[key]!r})")
            elif key == "amount":
                if not same_amount(want[key], got[key]):
                    found.append(f"Zahlung {number}: amount {got[key]}, erwartet {want[key]}")
            elif want[key] != got[key]:
                found.append(f"Zahlung {number}: {key} {got[key]!r}, erwartet {want[key]!r}")
    return found


def check_file(pain_file, expected_file, classes, schema_dir):
    problems = schema_problems(pain_file, schema_dir)
    if not problems:
        problems = control_figure_problems(pain_file)
    actual, error = read_with_peer(pain_file, classes)
    if error:
        problems.append(f"Parser: {error}")
    else:
        with open(expected_file, encoding="utf-8") as f:
            problems += differences(json.load(f), actual)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--compile", metavar="CLASSES")
    parser.add_argument("--classes", default=os.environ.get("ZORDTA_SEPA_PEER_CLASSES"))
    parser.add_argument("pairs", nargs="*", metavar="PAINFILE EXPECTED.json")
    args = parser.parse_args()
    if args.compile:
        compile_peer(args.compile)
        return 0
    if not args.pairs or len(args.pairs) % 2 or not args.classes:
        parser.error("Paare aus PAINFILE und EXPECTED.json und --classes (oder "
                     "ZORDTA_SEPA_PEER_CLASSES) nötig")
    failed = False
    with tempfile.TemporaryDirectory() as schema_dir:
        for pain_file, expected_file in zip(args.pairs[::2], args.pairs[1::2]):
            problems = check_file(pain_file, expected_file, args.classes, schema_dir)
            for problem in problems:
                print(f"{pain_file}: {problem}")
            failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
