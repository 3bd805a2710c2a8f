#!/usr/bin/env python3
"""Runs `zordta dtaus read` on every corpus file and holds it to its verdict, then
writes every file that reads back through `dtaus write --job` and compares the bytes,
then does the same for seeded random jobs.

Usage: python3 check_corpus.py ZORDTA [reads | round-trip]   (both without the second)
Exit 0 when everything agrees, 1 otherwise; every disagreement is printed.
"""

import csv
import io
import json
import os
import random
import re
import subprocess
import sys
import tempfile
from pathlib import Path

CORPUS = Path(__file__).resolve().parent
# The sanitizer build, where each run of the tool costs ten times as much, takes fewer.
RANDOM_JOBS = int(os.environ.get("ZORDTA_RANDOM_JOBS", "200"))
SEED = 20261209
FILE_DATE = "2026-12-01"


class Checker:
    def __init__(self, zordta, scratch):
        self.zordta = zordta
        self.scratch = Path(scratch)
        self.failures = 0
        self.checked = 0
        # The diskette counter, should anything touch it, stays in the scratch folder.
        self.env = dict(os.environ, XDG_CONFIG_HOME=str(self.scratch / "config"))

    def fail(self, what, detail):
        self.failures += 1
        if self.failures <= 20:  # the rest only counted: one fault often shows everywhere
            print("FEHLT: %s: %s" % (what, detail))

    def run(self, args, cwd=CORPUS):
        p = subprocess.run([self.zordta] + args, cwd=cwd, env=self.env, capture_output=True)
        return p.returncode, p.stdout.decode("utf-8", "replace"), p.stderr.decode("utf-8",
                                                                                "replace")

    # ------------------------------------------------------------ reading the corpus

    def check_reads(self, verdicts):
        for name, case in sorted(verdicts.items()):
            for v in case["runs"]:
                self.checked += 1
                what = " ".join([name] + v["options"])
                code, out, err = self.run(["dtaus", "read"] + v["options"] + [case["file"]])
                if code != v["exit"]:
                    self.fail(what, "Exit-Code %d statt %d; stderr: %s" % (code, v["exit"],
                                                                        err.strip()[:400]))
                    continue
                if "refusal" in v:
                    self.check_refusal(what, case["file"], v["refusal"], err)
                elif "control" in v:
                    self.check_control(what, case["file"], v["control"], err)
                else:
                    self.check_read(what, case["file"], v, out, err)

    def check_refusal(self, what, file, r, err):
        lines = err.splitlines()
        head = "Fehler: %s: Datensatz %d, Byte %d: " % (file, r["datensatz"], r["byte"])
        if len(lines) != 1 or not lines[0].startswith(head):
            self.fail(what, "erwartet eine Zeile %r..., stderr: %r" % (head, err[:400]))
        elif r["tolerant_hint"] and not lines[0].endswith("; versuchen Sie --tolerant"):
            self.fail(what, "der Hinweis auf --tolerant fehlt: %r" % lines[0])

    def check_control(self, what, file, figures, err):
        lines = [line for line in err.splitlines() if line.startswith("Prüfung fehlgeschlagen")]
        for f in figures:
            pattern = re.compile(
                r"Prüfung fehlgeschlagen: %s: Datensatz %d, Byte %d: %s: im Datensatz E 0*%d, "
                r"aus den Buchungen 0*%d\.$" % (re.escape(file), f["datensatz"], f["byte"],
                                                re.escape(f["figure"]), f["im_datensatz_e"],
                                                f["aus_den_buchungen"]))
            if not any(pattern.match(line) for line in lines):
                self.fail(what, "keine Zeile %r; stderr: %r" % (pattern.pattern, err[:600]))
        if len(lines) != len(figures):
            self.fail(what, "%d Abweichungen gemeldet statt %d: %r"
                      % (len(lines), len(figures), lines))

    def check_read(self, what, file, v, out, err):
        notes = [line for line in err.splitlines() if line.startswith("Hinweis:")]
        for offset in v["notes"]:
            head = "Hinweis: %s: Byte %d: " % (file, offset)
            if not any(line.startswith(head) for line in notes):
                self.fail(what, "kein Hinweis %r; stderr: %r" % (head, err[:400]))
        if not v["notes"] and notes:
            self.fail(what, "Hinweise zu einer einwandfreien Datei: %r" % notes)
        verified = "--no-verify" not in v["options"]
        last = err.splitlines()[-1] if err.strip() else ""
        if verified and not last.startswith("Geprüft: %s: " % file):
            self.fail(what, "stderr endet nicht mit 'Geprüft: %s: ...': %r" % (file, err[-300:]))
        if "csv" in v:
            rows = list(csv.reader(io.StringIO(out)))
            if rows != v["csv"]:
                self.fail(what, "CSV weicht ab: %s" % first_difference(rows, v["csv"]))
            return
        try:
            actual = json.loads(out)
        except ValueError as e:
            self.fail(what, "kein JSON (%s): %r" % (e, out[:200]))
            return
        if actual != v["json"]:
            self.fail(what, "JSON weicht ab: %s" % first_difference(actual, v["json"]))

    # ------------------------------------------------------------ round trips

    def write(self, job, dateiname, folder):
        """Writes the job into a fresh folder; the exit code and the file's bytes (or None)."""
        folder.mkdir(parents=True)
        job_path = folder / "auftrag.json"
        job_path.write_text(json.dumps(job, ensure_ascii=False), encoding="utf-8")
        code, _, err = self.run(["dtaus", "write", "--job", str(job_path), "--verzeichnis",
                                 str(folder / "out"), "--dateiname", dateiname, "--no-text",
                                 "--no-pdf"], cwd=folder)
        target = folder / "out" / dateiname
        return code, (target.read_bytes() if target.exists() else None), err

    def read(self, path, what):
        code, out, err = self.run(["dtaus", "read", str(path)])
        if code != 0:
            self.fail(what, "read: Exit-Code %d: %s" % (code, err.strip()[:400]))
            return None
        return json.loads(out)

    def check_corpus_round_trip(self, verdicts):
        for name, case in sorted(verdicts.items()):
            trip = case.get("round_trip")
            if not trip:
                continue
            self.checked += 1
            what = name + " (Rundreise)"
            job = self.read(CORPUS / case["file"], what)
            if job is None:
                continue
            code, written, err = self.write(job, trip["dateiname"], self.scratch / name)
            if trip["expect"] == "refused":
                if code != 1 or written is not None:
                    self.fail(what, "write hätte ablehnen müssen (Exit-Code %d, Datei %s)"
                              % (code, "geschrieben" if written else "keine"))
                continue
            if code != 0 or written is None:
                self.fail(what, "write: Exit-Code %d: %s" % (code, err.strip()[:400]))
                continue
            # Bytes after the last E record (Ctrl-Z, NUL, blanks) are no part of the data.
            original = (CORPUS / case["file"]).read_bytes()[:trip["clean_length"]]
            self.compare_bytes(what, original, written)

    def check_random_round_trips(self):
        rng = random.Random(SEED)
        for number in range(RANDOM_JOBS):
            self.checked += 1
            job, dateiname = random_job(rng)
            what = "Zufallsauftrag %d" % number
            folder = self.scratch / ("random-%03d" % number)
            code, first, err = self.write(job, dateiname, folder / "1")
            if code != 0 or first is None:
                self.fail(what, "write: Exit-Code %d: %s; Auftrag: %s"
                          % (code, err.strip()[:400], json.dumps(job, ensure_ascii=False)))
                continue
            again = self.read(folder / "1" / "out" / dateiname, what)
            if again is None:
                continue
            if logical_files(again) != expected_files(job):
                self.fail(what, "gelesen nicht wie geschrieben: %s; Auftrag: %s"
                          % (first_difference(logical_files(again), expected_files(job)),
                             json.dumps(job, ensure_ascii=False)))
                continue
            code, second, err = self.write(again, dateiname, folder / "2")
            if code != 0 or second is None:
                self.fail(what, "zweites write: Exit-Code %d: %s" % (code, err.strip()[:400]))
                continue
            self.compare_bytes(what, first, second)

    def compare_bytes(self, what, expected, actual):
        if expected == actual:
            return
        offset = next((i for i, (x, y) in enumerate(zip(expected, actual)) if x != y),
                      min(len(expected), len(actual)))
        byte = lambda data: "0x%02X" % data[offset] if offset < len(data) else "Ende"  # noqa
        self.fail(what, "Bytes weichen ab ab Byte %d (Datensatz-Teil %d): erwartet %s, "
                  "geschrieben %s (Längen %d und %d)"
                  % (offset, offset // 128, byte(expected), byte(actual), len(expected),
                     len(actual)))


def first_difference(actual, expected, path="$"):
    """Where two parsed documents first differ, as a path and both values."""
    if isinstance(actual, dict) and isinstance(expected, dict):
        for key in sorted(set(actual) | set(expected)):
            if key not in actual:
                return "%s.%s fehlt" % (path, key)
            if key not in expected:
                return "%s.%s ist zu viel (%r)" % (path, key, actual[key])
            if actual[key] != expected[key]:
                return first_difference(actual[key], expected[key], "%s.%s" % (path, key))
    if isinstance(actual, list) and isinstance(expected, list):
        for i, (a, e) in enumerate(zip(actual, expected)):
            if a != e:
                return first_difference(a, e, "%s[%d]" % (path, i))
        if len(actual) != len(expected):
            return "%s: %d Einträge statt %d" % (path, len(actual), len(expected))
    return "%s: %r statt %r" % (path, actual, expected)


# ---------------------------------------------------------------- random jobs

WORDS = ["MÜLLER", "SÖHNE", "GMBH", "&", "CO.", "KG", "BÄCKEREI", "GRÖSSE", "STRAßE", "ÜBER",
         "RECHNUNG", "4711", "MIETE", "12/2026", "BEITRAG", "E.V.", "A+B", "50%", "$", "*",
         "ÖL", "ÄRZTE", "KUNDE-0815", "X", "SCHULDNER", "STADTWERKE", "FUßBALL"]
KEYS = {False: ["51000", "53000", "54000", "54012", "56000"], True: ["04000", "05000", "05005"]}


def random_text(rng):
    words = []
    while not words or (rng.random() < 0.7 and len(" ".join(words)) < 20):
        words.append(rng.choice(WORDS))
    return " ".join(words)[:27].strip()


def random_payment(rng, lastschriften):
    lines = [] if rng.random() < 0.1 else \
        ["" if rng.random() < 0.15 else random_text(rng) for _ in range(rng.randint(1, 14))]
    cents = rng.choice([rng.randint(100, 9999), rng.randint(100, 10 ** 8),
                        rng.randint(100, 99999999999)])
    return {"name": random_text(rng), "konto": rng.randint(10, 9999999999),
            "blz": rng.randint(10000000, 99999999), "betrag": cents / 100,
            "zahlungsschluessel": rng.choice(KEYS[lastschriften]), "verwendungszweck": lines}


def random_logical(rng):
    lastschriften = rng.random() < 0.4
    return {"auftraggeber": {"name": random_text(rng), "blz": rng.randint(10000000, 99999999),
                             "konto": rng.randint(10, 9999999999)},
            "lastschriften": lastschriften, "dateidatum": FILE_DATE,
            "buchungen": [random_payment(rng, lastschriften) for _ in range(rng.randint(1, 5))]}


def random_job(rng):
    files = [random_logical(rng) for _ in range(2 if rng.random() < 0.25 else 1)]
    job = {"art": "dtaus", **files[0]} if len(files) == 1 else {"art": "dtaus", "dateien": files}
    return job, rng.choice(["DTAUS0.TXT", "ZAHLUNG.DTA"])


def logical_files(document):
    """The logical files of a read or a job, without what reading adds (sums, names)."""
    files = document.get("dateien") or [document]
    keep = ("auftraggeber", "lastschriften", "dateidatum", "buchungen")
    return [{key: f[key] for key in keep if key in f} for f in files]


def expected_files(job):
    """What reading the written job gives: a lone blank purpose line is no line."""
    files = logical_files(job)
    for f in files:
        for p in f["buchungen"]:
            if p["verwendungszweck"] == [""]:
                p["verwendungszweck"] = []
    return files


def main():
    if len(sys.argv) not in (2, 3) or sys.argv[2:] not in ([], ["reads"], ["round-trip"]):
        print(__doc__.strip().splitlines()[-2])
        return 2
    zordta = os.path.abspath(sys.argv[1])
    verdicts = json.loads((CORPUS / "verdicts.json").read_text(encoding="utf-8"))
    part = sys.argv[2] if len(sys.argv) == 3 else None
    with tempfile.TemporaryDirectory(prefix="dtaus-corpus-") as scratch:
        checker = Checker(zordta, scratch)
        if part in (None, "reads"):
            checker.check_reads(verdicts)
        if part in (None, "round-trip"):
            checker.check_corpus_round_trip(verdicts)
            checker.check_random_round_trips()
    if checker.failures:
        print("%d Abweichungen (%d Prüfungen)" % (checker.failures, checker.checked))
        return 1
    print("%d Prüfungen, alle wie erwartet" % checker.checked)
    return 0


if __name__ == "__main__":
    sys.exit(main())
