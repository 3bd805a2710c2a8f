#!/usr/bin/env python3
"""Builds the DTAUS golden files of tests/dtaus/test_golden_files.cpp.

Every byte is assembled here, field by field, from the DTAUS record layout
(A record, C record in 2 to 6 parts of 128 bytes, E record). Nothing is taken
from the component's output. Positions in the comments are 1-based within the
record. Text is Windows-1252.

Usage: python3 make_golden.py           (writes <case>.dtaus next to this script)
       python3 make_golden.py --check   (compares them with the files in the tree)
"""

from decimal import ROUND_HALF_UP, Decimal
import sys
from pathlib import Path

OUT_DIR = Path(__file__).resolve().parent
sys.path.insert(0, str(OUT_DIR.parent))
from golden_files import write_or_check  # noqa: E402

# ---------------------------------------------------------------- field helpers


def blanks(n):
    return b" " * n


def zeros(n):
    return b"0" * n


def num(value, digits):
    """'%.Nd': at least N digits, leading zeros."""
    assert value >= 0
    return b"%0*d" % (digits, value)


def num_blank_padded(value, width):
    """'%Nd': right-aligned, leading blanks."""
    return b"%*d" % (width, value)


def alpha(data, width=27):
    """'%-27.27s': cut to the width, filled with blanks on the right."""
    return data[:width].ljust(width, b" ")


def ddmmyy(year, month, day):
    return b"%02d%02d%02d" % (day, month, year % 100)


def ddmmyyyy(year, month, day):
    return b"%02d%02d%04d" % (day, month, year)


def trim(text):
    """Leading and trailing blanks and control characters (codes up to 0x20) removed."""
    start, end = 0, len(text)
    while start < end and ord(text[start]) <= 0x20:
        start += 1
    while end > start and ord(text[end - 1]) <= 0x20:
        end -= 1
    return text[start:end]


# ---------------------------------------------------------------- repertoire

BASE_SET = (
    {0x20, 0x24, 0x25, 0x26, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F}
    | set(range(0x30, 0x3A))
    | set(range(0x41, 0x5B))
    | {0xC4, 0xD6, 0xDC, 0xDF, 0xE4, 0xF6, 0xFC}
)

# file kind -> (bytes added to the base set, codes for Ä, Ö, Ü, ß)
FIRST_KIND = ({0x5C, 0x5D, 0x7E}, (0x5B, 0x5C, 0x5D, 0x7E))  # name begins "DTAUS0"
SECOND_KIND = ({0x8E, 0x99, 0x9A, 0xE1}, (0x8E, 0x99, 0x9A, 0xE1))


def file_kind(dta_filename):
    return FIRST_KIND if dta_filename[:6] == "DTAUS0" else SECOND_KIND


def repertoire(text, dta_filename):
    """Capitals a-z, filter against base set + additions, then umlaut codes."""
    added, (code_ae, code_oe, code_ue, code_ss) = file_kind(dta_filename)
    data = text.encode("cp1252")
    data = bytes(b - 0x20 if 0x61 <= b <= 0x7A else b for b in data)
    data = bytes(b for b in data if b in BASE_SET or b in added)
    replace = {0xE4: code_ae, 0xC4: code_ae, 0xF6: code_oe, 0xD6: code_oe,
               0xFC: code_ue, 0xDC: code_ue, 0xDF: code_ss}
    return bytes(replace.get(b, b) for b in data)


# ---------------------------------------------------------------- purpose lines


def split_lines(text):
    """Lines of a list text: breaks at CR LF, CR or LF; a final break starts no line."""
    lines, current, i = [], "", 0
    while i < len(text):
        ch = text[i]
        if ch in "\r\n":
            lines.append(current)
            current = ""
            if ch == "\r" and i + 1 < len(text) and text[i + 1] == "\n":
                i += 1
        else:
            current += ch
        i += 1
    if current:
        lines.append(current)
    return lines


def prepare_purpose(lines):
    """The lines as the booking hands them to the C record."""
    # blank lines (after trimming) are removed
    lines = [line for line in lines if trim(line) != ""]
    # a single line whose list text (line + CR LF) exceeds 27 characters is cut in
    # pieces of 27; the pieces' list text, trimmed, becomes the new list
    if len(lines) == 1 and len(lines[0] + "\r\n") > 27:
        text = lines[0] + "\r\n"
        pieces = [text[i:i + 27] for i in range(0, len(text), 27)]
        lines = split_lines(trim("".join(piece + "\r\n" for piece in pieces)))
    # the record always has a first purpose line
    if not lines:
        lines = [""]
    return lines


# ---------------------------------------------------------------- amounts


def cents(amount):
    """'%9.2f' of the exact binary value, exact ties away from zero, as cents."""
    exact = Decimal(amount)  # the double's exact value
    return int(exact.quantize(Decimal("0.01"), rounding=ROUND_HALF_UP) * 100)


def amount_field(amount_cents):
    """C 80-90: '%9.2f', trimmed, '0' in front up to 12 characters, separator removed."""
    text = b"%d.%02d" % divmod(amount_cents, 100)
    if len(text) <= 11:
        text = text.rjust(12, b"0")
    return text.replace(b".", b"")


def amount_sum_field(sum_cents):
    """E 65-77: '%11.2f', trimmed, '0' in front up to 14 characters, separator removed."""
    text = b"%d.%02d" % divmod(sum_cents, 100)
    return text.rjust(14, b"0").replace(b".", b"")


# ---------------------------------------------------------------- kind and key


def kind_of_file(lastschriften, key):
    """A 6-7."""
    if (lastschriften and key == "") or key in ("04000", "05000"):
        return b"LK"
    return b"GK"


def payment_key(lastschriften, abbuchungsauftrag, key):
    """C 45-49: key (2) and extension (3)."""
    if len(key) == 5:
        return key.encode("ascii")
    if not lastschriften:
        return b"51000"
    return b"04000" if abbuchungsauftrag else b"05000"


# ---------------------------------------------------------------- records


def record_a(run):
    c = run["client"]
    rec = b"0128A"                                           # 1-5 length + type
    rec += kind_of_file(run["lastschriften"], run["key"])    # 6-7
    rec += num_blank_padded(c["blz"], 8)                     # 8-15 client's bank code
    rec += zeros(8)                                          # 16-23 sending bank
    rec += alpha(repertoire(c["name"], run["filename"]))     # 24-50 client's name
    rec += ddmmyy(*run["file_date"])                         # 51-56 file date
    rec += diskette_number(run["diskette"])                  # 57-60
    rec += num(c["konto"], 10)                               # 61-70 client's account
    rec += zeros(10)                                         # 71-80 reference number
    rec += blanks(15)                                        # 81-95 reserved
    rec += (ddmmyyyy(*run["execution_date"])                 # 96-103 execution date
            if run["execution_date"] else blanks(8))
    rec += blanks(24)                                        # 104-127 reserved
    rec += b"1"                                              # 128 currency: euro
    assert len(rec) == 128
    return rec


def diskette_number(stored):
    """A 57-60: blanks without numbering, else the stored number's successor."""
    if stored is None:
        return blanks(4)
    following = stored + 1 if stored < 9999 else 0
    return num(following, 4)


def extension_slot(line, filename):
    """29 bytes: type '02' and the line, or 29 blanks without a line."""
    if line is None:
        return blanks(29)
    return b"02" + alpha(repertoire(line, filename))


def record_c(run, booking):
    c, filename = run["client"], run["filename"]
    lines = prepare_purpose(booking["vwz"])
    extensions = len(lines) - 1
    slot = lambda i: extension_slot(lines[i] if i < len(lines) else None, filename)

    # first part, 1-128
    p1 = num(187 + 29 * extensions, 4) + b"C"                 # 1-5 length + type
    p1 += zeros(8)                                            # 6-13 first bank involved
    p1 += num(booking["blz"], 8)                              # 14-21 payee's bank code
    p1 += num(booking["konto"], 10)                           # 22-31 payee's account
    p1 += zeros(13)                                           # 32-44 customer number
    p1 += payment_key(run["lastschriften"], run["abbuchung"], run["key"])  # 45-49
    p1 += blanks(1)                                           # 50 bank-internal
    p1 += zeros(11)                                           # 51-61 former currency
    p1 += num(c["blz"], 8)                                    # 62-69 client's bank code
    p1 += num(c["konto"], 10)                                 # 70-79 client's account
    p1 += amount_field(cents(booking["betrag"]))              # 80-90 euro cents
    p1 += blanks(3)                                           # 91-93 reserved
    p1 += alpha(repertoire(booking["name"], filename))        # 94-120 payee's name
    p1 += blanks(8)                                           # 121-128 reserved
    assert len(p1) == 128

    # second part, 129-256
    p2 = alpha(repertoire(c["name"], filename))               # 129-155 client's name
    p2 += alpha(repertoire(lines[0], filename))               # 156-182 purpose line 1
    p2 += b"1"                                                # 183 currency: euro
    p2 += blanks(2)                                           # 184-185 reserved
    p2 += num(extensions, 2)                                  # 186-187 extension count
    p2 += slot(1)                                             # 188-216 extension 1
    p2 += slot(2)                                             # 217-245 extension 2
    p2 += blanks(11)                                          # 246-256 reserved
    assert len(p2) == 128

    # further parts: four slots each (lines 4-7, 8-11, 12-15, 16-19), 12 blanks
    rec = p1 + p2
    first = 3
    while first < len(lines):
        part = b"".join(slot(i) for i in range(first, first + 4)) + blanks(12)
        assert len(part) == 128
        rec += part
        first += 4
    return rec


def record_e(run):
    bookings = run["bookings"]
    rec = b"0128E"                                            # 1-5 length + type
    rec += blanks(5)                                          # 6-10 reserved
    rec += num(len(bookings), 7)                              # 11-17 number of C records
    rec += zeros(13)                                          # 18-30 former currency
    rec += num(sum(b["konto"] for b in bookings), 17)         # 31-47 sum of accounts
    rec += num(sum(b["blz"] for b in bookings), 17)           # 48-64 sum of bank codes
    rec += amount_sum_field(sum(cents(b["betrag"]) for b in bookings))  # 65-77
    rec += blanks(51)                                         # 78-128 reserved
    assert len(rec) == 128
    return rec


def dtaus_file(run):
    data = record_a(run)
    for booking in run["bookings"]:
        data += record_c(run, booking)
    data += record_e(run)
    assert len(data) % 128 == 0
    return data


# ---------------------------------------------------------------- scenarios

CLIENT = {"name": "Muster GmbH & Co. KG", "blz": 37040044, "konto": 532013000}
TODAY = (2026, 12, 8)


def run(bookings, **overrides):
    r = {
        "client": CLIENT,
        "filename": "DTAUS0.TXT",
        "lastschriften": False,
        "abbuchung": False,
        "key": "",             # Zahlungsschluessel as stored (trimmed)
        "diskette": None,      # stored "Nummer" with Zentralbank, else None
        "file_date": TODAY,
        "execution_date": None,
        "bookings": bookings,
    }
    r.update(overrides)
    return r


def booking(name, konto, blz, betrag, vwz):
    return {"name": name, "konto": konto, "blz": blz, "betrag": betrag, "vwz": vwz}


def max_mustermann(vwz, betrag=10.00):
    return booking("Max Mustermann", 1234567890, 50010517, betrag, vwz)


CREDIT_TRANSFER = [
    booking("Max Mustermann", 1234567890, 50010517, 123.45, ["Rechnung 4711"]),
    booking("Erika Musterfrau", 987654, 10020030, 1.00, ["Miete Dezember", "Wohnung 3"]),
]
SCHULDNER = [booking("Hans Schuldner", 44556677, 70020270, 49.90, ["Beitrag 2027"])]
UMLAUT_CLIENT = dict(CLIENT, name="Bäckerei Größe")
UMLAUT_BOOKING = [booking("Müller & Söhne GmbH", 1234567890, 50010517, 25.00,
                          ["Straße 5a", "ÄÖÜ äöü ß (x)!", "José [Test]"])]
SIXTY = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHIJKLMNOPQRSTUVWX"
ROUNDING = [max_mustermann(["Betrag"], betrag)
            for betrag in (12.125, 1.005, 2.675, 10.0049, 999999999.99, 1.0)]


def zweck(n):
    return ["Zweck %02d" % i for i in range(1, n + 1)]


SCENARIOS = {
    "empty_run": run([]),
    "credit_transfer": run(CREDIT_TRANSFER),
    "debit_authorisation": run(SCHULDNER, lastschriften=True),
    "debit_order": run(SCHULDNER, lastschriften=True, abbuchung=True),
    "custom_key_credit_05000": run(SCHULDNER, key="05000"),
    "custom_key_debit_51000": run(SCHULDNER, lastschriften=True, key="51000"),
    "custom_key_trimmed": run(SCHULDNER, key="04000"),
    **{"purpose_%d" % n: run([max_mustermann(zweck(n))])
       for n in (1, 2, 3, 4, 7, 8, 14, 15)},
    "purpose_empty": run([max_mustermann([])]),
    "single_line_60": run([max_mustermann([SIXTY])]),
    "three_texts": run([max_mustermann(["Erste Zeile", "Dritte Zeile"])]),
    "umlauts_first_kind": run(UMLAUT_BOOKING, client=UMLAUT_CLIENT),
    "umlauts_second_kind": run(UMLAUT_BOOKING, client=UMLAUT_CLIENT, filename="zahlung.dta"),
    "long_name": run([booking("Sehr lange Firmenbezeichnung GmbH und Co", 1234567890,
                              50010517, 10.00, ["Rechnung 4711"])]),
    "amounts_rounding": run(ROUNDING),
    "zentralbank_41": run([], diskette=41),
    "zentralbank_9999": run([], diskette=9999),
    "execution_date": run([], execution_date=(2026, 12, 18)),
    "file_date_fixed": run([], file_date=(2027, 1, 5)),
}


def main():
    files = {name + ".dtaus": dtaus_file(scenario) for name, scenario in SCENARIOS.items()}
    return write_or_check(OUT_DIR, ".dtaus", files)


if __name__ == "__main__":
    sys.exit(main())
