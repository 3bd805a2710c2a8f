#!/usr/bin/env python3
"""Writes N domestic payments as the CSV that `zordta dtaus write --csv` reads:
names of 20 characters with umlauts, two purpose lines, varied accounts,
bank codes and amounts. Deterministic, so that runs compare.

With --sepa the same payments come as the CSV of `zordta sepa write --csv`:
the account and bank code make a German IBAN (with valid check digits).

With --banks FILE the bank codes are those of the main records of a bank-code
file (Bankleitzahlendatei), so that IBANs can be made from them.

With --dtazv they come as foreign payments, the CSV of `zordta dtazv write
--csv`: seven in ten in euro to Austria, the others in Swiss francs to
Switzerland, each with the bank's BIC and a valid IBAN."""
import argparse
import random


def german_iban(blz, konto):
    bban = "%08d%010d" % (blz, konto)
    # ISO 7064 mod 97-10 over the BBAN, "DE" as 1314 and check digits 00.
    check = 98 - int(bban + "131400") % 97
    return "DE%02d%s" % (check, bban)


def iban(country, bban):
    # ISO 7064 mod 97-10: the letters as numbers (A = 10), the country behind the BBAN.
    digits = "".join(str(ord(c) - 55) for c in country)
    check = 98 - int(bban + digits + "00") % 97
    return "%s%02d%s" % (country, check, bban)


FOREIGN = (("AT", "BKAUATWW", "Wien", "EUR", 5, 11), ("CH", "UBSWCHZH80A", "Zürich", "CHF", 5, 12))


def foreign_account(rnd):
    country, bic, town, currency, bank, account = FOREIGN[0 if rnd.random() < 0.7 else 1]
    bban = "%0*d%0*d" % (bank, rnd.randrange(10 ** bank), account, rnd.randrange(10 ** account))
    return "%s,%s,%s,%s" % (bic, iban(country, bban), town, currency)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("count", type=int)
    parser.add_argument("out")
    parser.add_argument("--sepa", action="store_true",
                        help="the columns of sepa write: name, iban, betrag, purpose")
    parser.add_argument("--dtazv", action="store_true",
                        help="the columns of dtazv write: bic, iban, name, ort, betrag, waehrung")
    parser.add_argument("--banks", metavar="FILE",
                        help="take bank codes from this bank-code file")
    args = parser.parse_args()
    codes = []
    if args.banks:
        with open(args.banks, encoding="latin-1") as banks:
            # Main records (mark 1) of banks neither deleted nor about to be.
            codes = [int(line[:8]) for line in banks
                     if line[8] == "1" and line[158] != "D" and line[159] == "0"]
    rnd = random.Random(20261208)
    first = ["Jürgen", "Anna", "Müller", "Öztürk", "Schröder", "Weiß", "Käthe", "Björn"]
    last = ["Müller-Schmidt", "Bäckerei", "Schönfeld", "Großmann", "Übelacker", "Jäger"]
    with open(args.out, "w", encoding="utf-8", newline="") as f:
        if args.dtazv:
            f.write("bic,iban,ort,waehrung,name,betrag,verwendungszweck1,verwendungszweck2\n")
        elif args.sepa:
            f.write("name,iban,betrag,verwendungszweck1,verwendungszweck2\n")
        else:
            f.write("name,konto,blz,betrag,verwendungszweck1,verwendungszweck2\n")
        for i in range(args.count):
            name = ("%s %s" % (rnd.choice(last), rnd.choice(first)))[:20].ljust(20, "X")
            konto = rnd.randrange(10, 9_999_999_999)
            blz = rnd.choice(codes) if codes else rnd.randrange(10_000_000, 99_999_999)
            cents = rnd.randrange(100, 5_000_00)  # 1 to 5000 euro: the sum stays in its 13 digits
            if args.dtazv:
                account = foreign_account(rnd)
                f.write('%s,"%s","%d,%02d",Rechnung %06d,Lieferung November 2026\n'
                        % (account, name, cents // 100, cents % 100, i % 1_000_000))
                continue
            account = german_iban(blz, konto) if args.sepa else "%d,%d" % (konto, blz)
            f.write('"%s",%s,"%d,%02d",Lohn November 2026,Personalnummer %06d\n'
                    % (name, account, cents // 100, cents % 100, i % 1_000_000))


if __name__ == "__main__":
    main()
