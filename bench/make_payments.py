#!/usr/bin/env python3
"""Writes N domestic payments as the CSV that `zordta dtaus write --csv` reads:
names of 20 characters with umlauts, two purpose lines, varied accounts,
bank codes and amounts. Deterministic, so that runs compare."""
import random
import sys


def main():
    count = int(sys.argv[1])
    out = sys.argv[2]
    rnd = random.Random(20261208)
    first = ["Jürgen", "Anna", "Müller", "Öztürk", "Schröder", "Weiß", "Käthe", "Björn"]
    last = ["Müller-Schmidt", "Bäckerei", "Schönfeld", "Großmann", "Übelacker", "Jäger"]
    with open(out, "w", encoding="utf-8", newline="") as f:
        f.write("name,konto,blz,betrag,verwendungszweck1,verwendungszweck2\n")
        for i in range(count):
            name = ("%s %s" % (rnd.choice(last), rnd.choice(first)))[:20].ljust(20, "X")
            konto = rnd.randrange(10, 9_999_999_999)
            blz = rnd.randrange(10_000_000, 99_999_999)
            cents = rnd.randrange(100, 5_000_00)  # 1 to 5000 euro: the sum stays in its 13 digits
            f.write('"%s",%d,%d,"%d,%02d",Lohn November 2026,Personalnummer %06d\n'
                    % (name, konto, blz, cents // 100, cents % 100, i % 1_000_000))


if __name__ == "__main__":
    main()
