#!/usr/bin/env python3
"""Writes pairs.csv: bank codes and accounts for the account-check cross-check.

For every check method of the bank-code file two banks are drawn, and for each
bank one account the ktoblzcheck command takes and one it refuses (random
accounts of 1 to 10 digits, a fixed seed). The table holds inputs only; the
test (check_pairs.py) asks both tools live. Deleted bank codes are left out:
zordta refuses them before any account check.

    tests/data/konto-crosscheck/make_pairs.py [BLZ_FILE]
"""
import glob
import os
import random
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def main_records(path):
    """Bank code -> check method of the main records still in use."""
    banks = {}
    with open(path, encoding="latin-1") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line[8] != "1" or line[158] == "D" or line[159] == "1":
                continue
            banks[line[0:8]] = line[150:152]
    return banks


def verdict(bank_code, account):
    return subprocess.run(["ktoblzcheck", "--returncode", bank_code, account]).returncode


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else sorted(glob.glob("/usr/share/ktoblzcheck/blz_*.txt"))[-1]
    rng = random.Random(20260412)
    by_method = {}
    for code, method in sorted(main_records(path).items()):
        by_method.setdefault(method, []).append(code)
    rows = []
    for method in sorted(by_method):
        for code in rng.sample(by_method[method], min(2, len(by_method[method]))):
            wanted = {0, 2}
            for _ in range(400):
                digits = rng.randint(1, 10)
                account = str(rng.randint(10 ** (digits - 1), 10 ** digits - 1))
                result = verdict(code, account)
                if result in wanted or result not in (0, 2):
                    rows.append((code, account, method))
                    wanted.discard(result)
                if not wanted or result not in (0, 2):
                    break
    with open(os.path.join(HERE, "pairs.csv"), "w", encoding="ascii") as out:
        out.write("# made by make_pairs.py from %s\nblz,konto,methode\n" % os.path.basename(path))
        for row in rows:
            out.write(",".join(row) + "\n")
    print("%d pairs, %d methods" % (len(rows), len(by_method)))


if __name__ == "__main__":
    main()
