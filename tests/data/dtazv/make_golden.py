#!/usr/bin/env python3
"""Builds the DTAZV golden files of tests/dtazv/test_golden_files_zv.cpp.

Every byte is assembled here, field by field, from the DTAZV record layout
(Q record of 256 bytes, one T record of 768 bytes per payment, Z record of
256 bytes). Nothing is taken from the component's output. Positions in the
comments are 1-based within the record. Text is Windows-1252.

Usage: python3 make_golden.py           (writes <case>.dtazv next to this script)
       python3 make_golden.py --check   (compares them with the files in the tree)
"""

import datetime
import sys
from pathlib import Path

OUT_DIR = Path(__file__).resolve().parent
sys.path.insert(0, str(OUT_DIR.parent))
from golden_files import write_or_check  # noqa: E402

TODAY = datetime.date(2026, 12, 8)  # the pinned clock of the test

# ---------------------------------------------------------------- field helpers


def blanks(n):
    return b" " * n


def num(value, digits):
    """'%.Nd': at least N digits, leading zeros."""
    assert 0 <= value < 10 ** digits, (value, digits)
    return b"%0*d" % (digits, value)


def alpha(data, width):
    """'%-N.Ns': cut to the width, filled with blanks on the right."""
    return data[:width].ljust(width, b" ")


def yymmdd(date):
    return b"%02d%02d%02d" % (date.year % 100, date.month, date.day)


def ansi(text):
    return text.encode("cp1252")


# ---------------------------------------------------------------- repertoire

# blank, + , - . /, 0-9, A-Z
DTAZV_CHARS = {0x20} | set(range(0x2B, 0x30)) | set(range(0x30, 0x3A)) | set(range(0x41, 0x5B))


def clean(text):
    """ß -> SS, capitals, Ä/Ö/Ü -> AE/OE/UE, then only DTAZV_CHARS are kept.

    Upper-casing other accented letters is left out: their capitals are not in
    the set and are dropped either way.
    """
    out = bytearray()
    for b in ansi(text):
        if b == 0xDF:                     # ß
            out += b"SS"
        elif 0x61 <= b <= 0x7A:           # a-z
            out.append(b - 0x20)
        elif b in (0xE4, 0xC4):           # ä Ä
            out += b"AE"
        elif b in (0xF6, 0xD6):           # ö Ö
            out += b"OE"
        elif b in (0xFC, 0xDC):           # ü Ü
            out += b"UE"
        elif b in DTAZV_CHARS:
            out.append(b)
        # anything else is dropped
    return bytes(out)


# ---------------------------------------------------------------- payment preparation


def prepare_purpose(lines):
    """The purpose lines as the booking hands them to the T record."""
    # empty lines are removed, the others cleaned (a line cleaned to nothing stays)
    lines = [clean(line) for line in lines if line != ""]
    # a single line of 34 characters or more: pieces of 35, joined, ends trimmed
    if len(lines) == 1 and len(lines[0]) >= 34:
        line = lines[0]
        joined = b"\r\n".join(line[i:i + 35] for i in range(0, len(line), 35))
        lines = joined.strip(b" \r\n").split(b"\r\n")
    # the record writer adds one empty line to an empty list
    if not lines:
        lines = [b""]
    return lines


def execution_date(offset):
    """None (no date) and dates before today or after today + 15 become today."""
    if offset is None or offset < 0 or offset > 15:
        return TODAY
    return TODAY + datetime.timedelta(days=offset)


def amount_parts(betrag):
    """Whole units (toward zero) and hundredths, half to even, with carry at 100."""
    whole = int(betrag)
    hundredths = round((betrag - whole) * 100)  # float arithmetic as in the writer
    if hundredths == 100:
        hundredths = 0
        whole += 1
    return whole, hundredths


# ---------------------------------------------------------------- records


def record_q(run):
    c = run["client"]
    rec = b"0256Q"                                        # 1-5 length + type
    rec += num(c["blz"], 8)                               # 6-13 client's bank code
    rec += num(c["konto"], 10)                            # 14-23 client's account
    rec += alpha(clean(c["name"]), 35)                    # 24-58 client's name
    rec += alpha(clean(c["name2"]), 35)                   # 59-93 name, 2nd line
    rec += alpha(clean(c["strasse"]), 35)                 # 94-128 street
    rec += alpha(clean(c["ort"]), 35)                     # 129-163 town
    rec += yymmdd(TODAY)                                  # 164-169 creation date
    rec += num(run["lfd"], 2)                             # 170-171 running number
    rec += yymmdd(execution_date(run["ausfuehrung"]))     # 172-177 execution date, else today
    rec += b"N"                                           # 178 no foreign-trade report
    rec += num(run["bundesland"], 2)                      # 179-180 federal-state key
    rec += num(run["firma"], 8)                           # 181-188 company number
    rec += blanks(68)                                     # 189-256
    assert len(rec) == 256
    return rec


def record_t(run, p):
    c = run["client"]
    # the shorter forms take the country from the IBAN and the run's date
    laendercode = p["laendercode"] if p["laendercode"] is not None else p["iban"][:2]
    datum = p["datum"] if p["form"] in ("full", "no_currency", "with_date") else run["ausfuehrung"]
    waehrung = (p["waehrung"] or run["waehrungscode"])[:3].upper()
    whole, hundredths = amount_parts(p["betrag"])
    lines = prepare_purpose(p["vwz"])
    line = lambda i: alpha(lines[i], 35) if i < len(lines) else blanks(35)

    rec = b"0768T"                                        # 1-5 length + type
    rec += num(c["blz"], 8)                               # 6-13 client's bank code
    rec += ansi(run["waehrungscode"])                     # 14-16 account currency
    rec += num(c["konto"], 10)                            # 17-26 client's account
    rec += yymmdd(execution_date(datum))                  # 27-32 execution date
    rec += b"00000000"                                    # 33-40
    rec += blanks(3)                                      # 41-43
    rec += b"0000000000"                                  # 44-53
    rec += alpha(ansi(p["bic"]), 11)                      # 54-64 payee's BIC
    rec += blanks(3)                                      # 65-67
    rec += blanks(35) * 4                                 # 68-207
    rec += alpha(ansi(laendercode), 2) + b" "             # 208-210 country + blank
    rec += alpha(clean(p["name1"]), 35)                   # 211-245 payee's name
    rec += alpha(clean(p["name2"]), 35)                   # 246-280 name, 2nd line
    rec += alpha(clean(p["strasse"]), 35)                 # 281-315 street
    rec += alpha(clean(p["ortland"]), 35)                 # 316-350 town and country
    rec += blanks(35) * 2                                 # 351-420
    rec += b"/" + alpha(ansi(p["iban"]), 34)              # 421-455 "/" + IBAN
    rec += ansi(waehrung)                                 # 456-458 order currency
    rec += num(whole, 14)                                 # 459-472 whole units
    rec += num(hundredths, 2) + b"0"                      # 473-475 hundredths + "0"
    rec += line(0) + line(1) + line(2) + line(3)          # 476-615 purpose lines 1-4
    rec += b"00" * 4                                      # 616-623
    rec += blanks(25)                                     # 624-648
    rec += b"00"                                          # 649-650
    rec += num(run["zahlungsart"], 2)                     # 651-652 payment type
    rec += alpha(clean(p["notiz"]), 27)                   # 653-679 internal note
    rec += alpha(clean(p["ansprech"]), 35)                # 680-714 contact person
    rec += b"0"                                           # 715 no reports attached
    rec += blanks(51)                                     # 716-766
    rec += b"00"                                          # 767-768 number of reports
    assert len(rec) == 768
    return rec


def record_z(run):
    payments = run["payments"]
    rec = b"0256Z"                                        # 1-5 length + type
    rec += num(sum(amount_parts(p["betrag"])[0] for p in payments), 15)  # 6-20 sum
    rec += num(len(payments), 15)                         # 21-35 number of T records
    rec += blanks(221)                                    # 36-256
    assert len(rec) == 256
    return rec


def dtazv_file(run):
    data = record_q(run)
    for p in run["payments"]:
        data += record_t(run, p)
    data += record_z(run)
    assert len(data) == 256 + 768 * len(run["payments"]) + 256
    return data


# ---------------------------------------------------------------- scenarios

CLIENT = {
    "name": "Muster Export GmbH",
    "name2": "Abteilung Zahlungsverkehr",
    "strasse": "Hafenstraße 12",
    "ort": "20457 Hamburg",
    "blz": 37040044,
    "konto": 532013000,
}


def run(payments, **overrides):
    r = {
        "client": CLIENT,
        "waehrungscode": "EUR",   # as stored (capitals)
        "ausfuehrung": None,      # days after today; None for no date
        "lfd": 1,
        "bundesland": 0,
        "firma": 0,
        "zahlungsart": 0,
        "payments": payments,
    }
    r.update(overrides)
    return r


def payment(form, bic, iban, name1, strasse, ortland, betrag, vwz, name2="",
            laendercode=None, datum=None, notiz="", ansprech="", waehrung=""):
    """form: "shortest" (7 arguments), "with_date" (8), "no_currency" (12), "full" (13).

    laendercode None: the first two characters of the IBAN (the shorter forms).
    datum: days after today, None for 0; the shortest form uses the run's date.
    """
    return {"form": form, "bic": bic, "iban": iban, "name1": name1, "name2": name2,
            "strasse": strasse, "ortland": ortland, "laendercode": laendercode,
            "betrag": betrag, "vwz": vwz, "datum": datum, "notiz": notiz,
            "ansprech": ansprech, "waehrung": waehrung}


def german(betrag, vwz, bic="COBADEFFXXX"):
    return payment("shortest", bic, "DE89370400440532013000", "Hans Beispiel",
                   "Lindenallee 5", "50667 Köln Deutschland", betrag, vwz)


def austrian(betrag, vwz):
    return payment("shortest", "BKAUATWWXXX", "AT611904300234573201", "Wiener Handels GmbH",
                   "Kärntner Straße 8", "1010 Wien Österreich", betrag, vwz)


SHORT_FRENCH = payment("shortest", "BNPAFRPPXXX", "FR6212345123450000000001234",
                       "Société Générale Client", "12 rue de la Paix", "75002 Paris France",
                       1234.56, ["Rechnung 2026-117"])

FULL_SWISS = payment("full", "UBSWCHZH80A", "CH9300762011623852957",
                     "Zürcher Kantonalbank Kunde", "Bahnhofstrasse 1", "8001 Zürich", 12.5,
                     ["Lizenz 2027", "Vertrag 4711"], name2="c/o Zentrale", laendercode="CHE",
                     datum=3, notiz="Lizenz Schweiz Q1", ansprech="Frau Käthe Müller",
                     waehrung="chf")

# 80 characters, no blank at the cuts after 35 and 70
LINE_80 = "Rechnung 2026-117 und 2026-118 Kund" + "ennummer 4711-0815 Auftrag 99887766" + \
          "-Lager B/7"
assert len(LINE_80) == 80 and len(clean(LINE_80)) == 80 and " " not in (LINE_80[34], LINE_80[35], LINE_80[69], LINE_80[70])

PURPOSE_4 = ["Rechnung Nr. 1", "Lieferung vom 01.12.2026", "Kunde: Müller & Söhne",
             "Zeile 4 / Ende"]

# 35 characters with one ß: 36 after cleaning
STREET_35 = "Grosse Straße der Einheit 123456789"
assert len(STREET_35) == 35 and len(clean(STREET_35)) == 36

SCENARIOS = {
    "zv_empty": run([]),
    "zv_short_french": run([SHORT_FRENCH]),
    "zv_full": run([FULL_SWISS]),
    "zv_amounts": run([german(0.999, ["Betrag 1"]), austrian(12.5, ["Betrag 2"]),
                       german(1234.56, ["Betrag 3"]), austrian(12.999, ["Betrag 4"])]),
    "zv_three_payments": run([german(10.50, ["Zahlung 1"]), german(20.50, ["Zahlung 2"]),
                              german(30.99, ["Zahlung 3"])]),
    "zv_purpose_0": run([german(100.0, [])]),
    "zv_purpose_80": run([german(100.0, [LINE_80])]),
    "zv_purpose_4": run([german(100.0, PURPOSE_4)]),
    "zv_purpose_6": run([german(100.0, ["Zweck %d" % i for i in range(1, 7)])]),
    "zv_bic8": run([german(100.0, ["Rechnung 8"], bic="DEUTDEFF")]),
    "zv_zahlungsart_13": run([german(100.0, ["Rechnung 13"])], zahlungsart=13),
    "zv_usd_after_eur": run([
        payment("full", "COBADEFFXXX", "DE89370400440532013000", "Hans Beispiel",
                "Lindenallee 5", "50667 Köln", 250.0, ["Euro-Zahlung"], laendercode="DE",
                datum=1, waehrung=""),
        payment("full", "CHASUS33XXX", "DE02120300000000202051", "US Supplier Inc.",
                "5th Avenue 100", "New York USA", 99.95, ["Dollar-Zahlung"], laendercode="US",
                datum=2, waehrung="usd"),
    ]),
    "zv_q_record_keys": run([german(100.0, ["Ausfuehrung in 5 Tagen"])],
                            lfd=42, ausfuehrung=5, bundesland=9, firma=12345678),
    "zv_umlaut_client": run([], client=dict(CLIENT, name="Bäckerei Größe & Söhne",
                                            strasse=STREET_35)),
    # the two middle forms, and a stored account currency other than euro
    "zv_middle_overloads": run([
        payment("with_date", "BKAUATWWXXX", "AT611904300234573201", "Wiener Handels GmbH",
                "Kärntner Straße 8", "1010 Wien Österreich", 75.25, ["Mit Datum"], datum=15),
        payment("no_currency", "UBSWCHZH80A", "CH9300762011623852957", "Zürcher Kunde",
                "Bahnhofstrasse 1", "8001 Zürich", 42.0, ["Ohne Waehrung"], name2="Filiale Ost",
                laendercode="CH", datum=16, notiz="Notiz 12", ansprech="Herr Ölmann"),
    ], waehrungscode="USD"),
}


def main():
    files = {name + ".dtazv": dtazv_file(scenario) for name, scenario in SCENARIOS.items()}
    return write_or_check(OUT_DIR, ".dtazv", files)


if __name__ == "__main__":
    sys.exit(main())
