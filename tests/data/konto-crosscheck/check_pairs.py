#!/usr/bin/env python3
"""zordta konto check against the ktoblzcheck command, live, on every pair of pairs.csv.

    check_pairs.py ZORDTA
"""
import csv
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# ktoblzcheck's exit code -> what zordta says after "Konto N: ".
EXPECTED = {
    0: "gültig",
    1: "ungültig: Das Prüfverfahren",
    2: "ungültig: Die Kontonummer passt nicht zum Prüfverfahren",
    3: "ungültig: Die Bankleitzahl",
}


def main():
    zordta = sys.argv[1]
    with open(os.path.join(HERE, "pairs.csv"), encoding="ascii") as f:
        rows = list(csv.DictReader(line for line in f if not line.startswith("#")))
    passed = failed = 0
    seen = {code: 0 for code in EXPECTED}
    for row in rows:
        bank_code, account = row["blz"], row["konto"]
        theirs = subprocess.run(["ktoblzcheck", "--returncode", bank_code, account],
                                stderr=subprocess.DEVNULL).returncode
        ours = subprocess.run([zordta, "konto", "check", bank_code, account],
                              capture_output=True, text=True)
        last = ours.stdout.splitlines()[-1] if ours.stdout else ""
        verdict = last.partition(": ")[2]
        agree = (theirs in EXPECTED and verdict.startswith(EXPECTED[theirs])
                 and ours.returncode == (0 if theirs == 0 else 1) and ours.stderr == "")
        if agree:
            passed += 1
            seen[theirs] += 1
        else:
            failed += 1
            print("DIFFERS %s %s (method %s): ktoblzcheck %d, zordta %d %r %r"
                  % (bank_code, account, row["methode"], theirs, ours.returncode, last, ours.stderr))
    # A table that lost its valid or its invalid accounts proves little.
    if len(rows) < 200 or seen[0] < 80 or seen[2] < 80:
        print("the table is too thin: %d pairs, %d valid, %d invalid" % (len(rows), seen[0], seen[2]))
        failed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
