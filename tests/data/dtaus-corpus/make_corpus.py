#!/usr/bin/env python3
"""Builds the DTAUS corpus: files shaped like those banks and other programs really
send, sound and damaged, each with the verdict `zordta dtaus read` owes it.

Every byte is assembled here from the record layout (A record, C record in 2 to 6
parts of 128 bytes, E record); nothing comes from our writer. A case is a model of
its logical files plus the damage done to the clean bytes; the expected JSON comes
from the model, never from the bytes. Offsets are 0-based, within the part for the
layout and absolute in the file for the verdicts.

Writes <case>.dtaus and verdicts.json (read by check_corpus.py) next to this
script; --check compares them with the files in the tree instead.
"""

import json
import sys
from pathlib import Path

OUT_DIR = Path(__file__).resolve().parent
sys.path.insert(0, str(OUT_DIR.parent))
from golden_files import write_or_check  # noqa: E402

PART = 128

# ---------------------------------------------------------------- layout: (offset, width)

A = {"length": (0, 4), "type": (4, 1), "kind": (5, 2), "blz": (7, 8), "sender_blz": (15, 8),
     "name": (23, 27), "file_date": (50, 6), "diskette": (56, 4), "konto": (60, 10),
     "reference": (70, 10), "reserved1": (80, 15), "exec_date": (95, 8),
     "reserved2": (103, 24), "currency": (127, 1)}
C1 = {"length": (0, 4), "type": (4, 1), "first_blz": (5, 8), "blz": (13, 8), "konto": (21, 10),
      "customer": (31, 13), "key": (44, 2), "supplement": (46, 3), "bank_internal": (49, 1),
      "dm_amount": (50, 11), "client_blz": (61, 8), "client_konto": (69, 10),
      "amount": (79, 11), "reserved1": (90, 3), "name": (93, 27), "reserved2": (120, 8)}
C2 = {"client_name": (0, 27), "purpose1": (27, 27), "currency": (54, 1), "reserved1": (55, 2),
      "ext_count": (57, 2), "reserved2": (117, 11)}
C2_SLOTS = (59, 88)
FURTHER_SLOTS = (0, 29, 58, 87)
E = {"length": (0, 4), "type": (4, 1), "reserved1": (5, 5), "count": (10, 7),
     "dm_sum": (17, 13), "konto_sum": (30, 17), "blz_sum": (47, 17), "amount_sum": (64, 13),
     "reserved2": (77, 51)}
SLOT = 29


def part(layout, **values):
    """128 blanks with the given fields put in place; every value fills its field exactly."""
    data = bytearray(b" " * PART)
    for name, value in values.items():
        offset, width = layout[name]
        assert len(value) == width, (name, value)
        data[offset:offset + width] = value
    return bytes(data)


def num(value, width):
    assert 0 <= value < 10 ** width
    return b"%0*d" % (width, value)


def ddmmyy(iso):
    year, month, day = iso.split("-")
    return (day + month + year[2:]).encode()


def ddmmyyyy(iso):
    year, month, day = iso.split("-")
    return (day + month + year).encode()


# Ä Ö Ü ß in the two codes of the format: 7-bit (files named DTAUS0...) and PC.
UMLAUT_CODES = {"7bit": dict(zip("ÄÖÜß", b"[\\]~")),
                "pc": dict(zip("ÄÖÜß", b"\x8e\x99\x9a\xe1"))}
PLAIN = set("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,&-+*%$/")


def text(value, code, width=27):
    """A text field: capitals, digits, the few signs, umlauts in the file's code."""
    assert len(value) <= width and value == value.strip(), value
    out = bytearray()
    for ch in value:
        if ch in UMLAUT_CODES[code]:
            out.append(UMLAUT_CODES[code][ch])
        else:
            assert ch in PLAIN, (value, ch)
            out += ch.encode("ascii")
    return bytes(out.ljust(width, b" "))


# ---------------------------------------------------------------- the model


def client(name, blz, konto):
    return {"name": name, "blz": blz, "konto": konto}


def pay(name, konto, blz, cents, key, purpose=(), **extra):
    """extra: namenszusatz / auftraggeberzusatz (slot types 01 / 03), auftraggeber (C differs)."""
    assert purpose != [""] and purpose != ("",), "a lone blank line reads as no line"
    return {"name": name, "konto": konto, "blz": blz, "cents": cents, "key": key,
            "purpose": list(purpose), **extra}


def logical(payments, owner=None, kind="GK", file_date="2026-12-01", exec_date=None,
            currency="EUR"):
    return {"client": owner or MUSTER, "kind": kind, "file_date": file_date,
            "exec_date": exec_date, "currency": currency, "payments": payments}


MUSTER = client("MUSTER GMBH & CO. KG", 37040044, 532013000)
VEREIN = client("SPORTVEREIN GRÜN-WEISS E.V.", 50010517, 4711)
STADT = client("STADTWERKE MÜHLHAUSEN", 82056060, 1000200030)


# ---------------------------------------------------------------- records from the model


def record_a(f, code):
    c = f["client"]
    return part(A, length=b"0128", type=b"A", kind=f["kind"].encode(), blz=num(c["blz"], 8),
                sender_blz=num(0, 8), name=text(c["name"], code),
                file_date=ddmmyy(f["file_date"]), konto=num(c["konto"], 10),
                reference=num(0, 10),
                exec_date=ddmmyyyy(f["exec_date"]) if f["exec_date"] else b" " * 8,
                currency=b"1" if f["currency"] == "EUR" else b" ")


def slots_of(p):
    """The extension slots in order: name supplements, purpose lines 2.., client supplements."""
    lines = p["purpose"][1:]
    return ([(b"01", t) for t in p.get("namenszusatz", [])] + [(b"02", t) for t in lines]
            + [(b"03", t) for t in p.get("auftraggeberzusatz", [])])


def parts_for(extensions):
    return 2 if extensions <= 2 else 2 + (extensions - 2 + 3) // 4


def record_c(f, p, code):
    owner = p.get("auftraggeber", f["client"])
    slots = [kind + text(t, code) for kind, t in slots_of(p)]
    n = len(slots)
    euro = f["currency"] == "EUR"
    key = p["key"].encode()
    p1 = part(C1, length=num(187 + 29 * n, 4), type=b"C", first_blz=num(0, 8),
              blz=num(p["blz"], 8), konto=num(p["konto"], 10), customer=num(0, 13),
              key=key[:2], supplement=key[2:],
              dm_amount=num(0 if euro else p["cents"], 11),
              client_blz=num(owner["blz"], 8), client_konto=num(owner["konto"], 10),
              amount=num(p["cents"] if euro else 0, 11), name=text(p["name"], code))
    p2 = bytearray(part(C2, client_name=text(owner["name"], code),
                        purpose1=text(p["purpose"][0] if p["purpose"] else "", code),
                        currency=b"1" if euro else b" ", ext_count=num(n, 2)))
    rest = slots[2:]
    for offset, slot in zip(C2_SLOTS, slots[:2]):
        p2[offset:offset + SLOT] = slot
    rec = p1 + bytes(p2)
    for first in range(0, len(rest), 4):
        further = bytearray(b" " * PART)
        for offset, slot in zip(FURTHER_SLOTS, rest[first:first + 4]):
            further[offset:offset + SLOT] = slot
        rec += bytes(further)
    assert len(rec) == parts_for(n) * PART
    return rec


def record_e(f):
    ps = f["payments"]
    total = sum(p["cents"] for p in ps)
    euro = f["currency"] == "EUR"
    return part(E, length=b"0128", type=b"E", count=num(len(ps), 7),
                dm_sum=num(0 if euro else total, 13),
                konto_sum=num(sum(p["konto"] for p in ps), 17),
                blz_sum=num(sum(p["blz"] for p in ps), 17),
                amount_sum=num(total if euro else 0, 13))


def assemble(files, code):
    """The physical file and the start of every record (index 0 is record 1)."""
    data, starts = b"", []
    for f in files:
        for rec in [record_a(f, code)] + [record_c(f, p, code) for p in f["payments"]] \
                + [record_e(f)]:
            starts.append(len(data))
            data += rec
    return data, starts


# ---------------------------------------------------------------- expected JSON from the model


def payment_json(p):
    out = {"name": p["name"], "konto": p["konto"], "blz": p["blz"], "betrag": p["cents"] / 100,
           "zahlungsschluessel": p["key"], "verwendungszweck": p["purpose"]}
    for key in ("namenszusatz", "auftraggeberzusatz", "auftraggeber"):
        if key in p:
            out[key] = p[key]
    return out


def file_json(f):
    ps = f["payments"]
    out = {"auftraggeber": f["client"], "lastschriften": f["kind"] == "LK",
           "dateidatum": f["file_date"], "waehrung": f["currency"],
           "summen": {"anzahl": len(ps), "betrag": sum(p["cents"] for p in ps) / 100,
                      "kontonummern": sum(p["konto"] for p in ps),
                      "bankleitzahlen": sum(p["blz"] for p in ps)},
           "buchungen": [payment_json(p) for p in ps]}
    if f["exec_date"]:
        out["ausfuehrungsdatum"] = f["exec_date"]
    return out


def expected_json(files, datei):
    if len(files) == 1:
        return {"art": "dtaus", "datei": datei, **file_json(files[0])}
    return {"art": "dtaus", "datei": datei, "dateien": [file_json(f) for f in files]}


def expected_csv(files):
    """Rows of `--format csv` as lists of cells, header first."""
    many = len(files) > 1
    dm = any(f["currency"] == "DEM" for f in files)
    lines = max([len(p["purpose"]) for f in files for p in f["payments"]] + [1])
    header = (["datei"] if many else []) + ["name", "konto", "blz", "betrag"] \
        + (["waehrung"] if dm else []) + ["zahlungsschluessel"] \
        + ["verwendungszweck%d" % i for i in range(1, lines + 1)]
    rows = [header]
    for number, f in enumerate(files, 1):
        for p in f["payments"]:
            rows.append((([str(number)] if many else [])
                         + [p["name"], str(p["konto"]), str(p["blz"]),
                            "%d.%02d" % divmod(p["cents"], 100)]
                         + ([f["currency"]] if dm else []) + [p["key"]]
                         + (p["purpose"] + [""] * lines)[:lines]))
    return rows


# ---------------------------------------------------------------- damage to the clean bytes


def slot_offset(index):
    """Offset of extension slot `index` (0-based) from the start of its C record."""
    if index < 2:
        return PART + C2_SLOTS[index]
    return 2 * PART + (index - 2) // 4 * PART + FURTHER_SLOTS[(index - 2) % 4]


def field(layout, name, part_no=0):
    return part_no * PART + layout[name][0]


def damaged(data, starts, damage):
    data = bytearray(data)
    for step in damage:
        if step[0] == "set":              # ("set", record, offset in record, bytes)
            _, rec, offset, value = step
            where = starts[rec - 1] + offset
            data[where:where + len(value)] = value
        elif step[0] == "append":         # ("append", bytes)
            data += step[1]
        elif step[0] == "pad":            # ("pad", byte, block): up to a whole block
            data += step[1] * (-len(data) % step[2])
        elif step[0] == "breaks":         # ("breaks", separator): after every 128-byte part
            data = bytearray(b"".join(bytes(data[i:i + PART]) + step[1]
                                      for i in range(0, len(data), PART)))
        elif step[0] == "cut":            # ("cut", record, bytes of it kept)
            del data[starts[step[1] - 1] + step[2]:]
        else:
            raise ValueError(step)
    return bytes(data)


# ---------------------------------------------------------------- verdicts
# A location is (record number, offset in that record); END is the end of the
# clean file, where trailing bytes begin and the record after the last E would.
END = ("end", 0)


def reads(*options, notes=(), fmt="json"):
    return {"options": list(options) + (["--format", "csv"] if fmt == "csv" else []),
            "exit": 0, "notes": list(notes), "fmt": fmt}


def refused(location, *options, tolerant_hint=False):
    return {"options": list(options), "exit": 1, "refusal": location,
            "tolerant_hint": tolerant_hint}


def control_fails(*figures, options=()):
    """figures: E fields whose stated value differs from the payments."""
    return {"options": list(options), "exit": 1, "control": list(figures)}


KEYS = ("04001", "05005", "51002", "53003", "54012", "56004")


def p_mueller(key="51000", cents=12345, purpose=("RECHNUNG 4711",), **extra):
    return pay("MÜLLER & SÖHNE GMBH", 1234567890, 50010517, cents, key, purpose, **extra)


def p_erika(key="51000", cents=100, purpose=("MIETE DEZEMBER", "WOHNUNG 3")):
    return pay("ERIKA MUSTERFRAU", 987654, 10020030, cents, key, purpose)


def p_hans(key="05000", cents=4990, purpose=("BEITRAG 2027",)):
    return pay("HANS SCHULDNER", 44556677, 70020270, cents, key, purpose)


CREDITS = logical([p_mueller(), p_erika()])
DEBITS = logical([p_hans(), p_hans("04000", 2450, ["ABBUCHUNG 12/2026"])], owner=VEREIN,
                 kind="LK")
ONE_C = logical([p_mueller(purpose=["RECHNUNG 4711"])])   # record 2 is a C record of 2 parts
LINES = ["ZEILE %02d" % i for i in range(1, 17)]

# name -> (logical files, umlaut code, damage, runs, round trip: "same", "refused" or None)
CASES = {
    # payment keys
    "debit_mixed_keys": ([logical([p_hans(), p_hans("04000", 2450), p_hans("05000", 100)],
                                  owner=VEREIN, kind="LK")], "pc", [], None, "same"),
    "credit_mixed_keys": ([logical([p_mueller("51000"), p_erika("53000"),
                                    p_mueller("54012", 3990), p_erika("56000", 150000)])],
                          "pc", [], [reads(), reads(fmt="csv")], "same"),
    **{"key_" + key: ([logical([p_hans(key, 1999, ["SCHLUESSEL " + key]), p_hans(key, 100)],
                               kind="LK" if key[:2] in ("04", "05") else "GK")],
                      "pc", [], None, "same") for key in KEYS},
    # several logical files in one physical file
    "two_files": ([CREDITS, DEBITS], "pc", [], [reads(), reads(fmt="csv")], "same"),
    "three_files": ([CREDITS, DEBITS, logical([p_erika("56000")], owner=STADT)], "pc", [],
                    None, "same"),
    "file_twice": ([CREDITS, CREDITS], "pc", [], None, "same"),
    # no payment reads; the writer makes no empty files
    "a_then_e": ([logical([])], "pc", [], None, "refused"),
    # a DM file reads; the writer makes no new ones
    "dm_file": ([logical([p_mueller(cents=24500), p_erika(cents=1)], file_date="1998-11-30",
                         currency="DEM")], "pc", [], [reads(), reads(fmt="csv")], "refused"),
    # the execution date reads; the writer takes only the next days, so no round trip
    "execution_date": ([logical([p_erika()], exec_date="2026-12-14")], "pc", [], None, None),
    # umlauts in both codes
    "umlauts_7bit": ([logical([p_mueller(purpose=["BÄCKEREI", "GRÜßE AUS ÖHRINGEN"])],
                              owner=VEREIN)], "7bit", [], None, "same"),
    "umlauts_pc": ([logical([p_mueller(purpose=["BÄCKEREI", "GRÜßE AUS ÖHRINGEN"])],
                            owner=VEREIN)], "pc", [], None, "same"),
    # purpose lines: blank slots keep their place; up to 15 extensions (6 parts)
    "blank_purpose_lines": ([logical([p_erika(purpose=["MIETE DEZEMBER", "", "WOHNUNG 3"]),
                                      p_erika(purpose=["MIETE DEZEMBER", "WOHNUNG 3", ""]),
                                      p_erika(purpose=["", "RECHNUNG 4711", "KUNDE 0815"]),
                                      p_erika(purpose=[])])],
                            "pc", [], [reads(), reads(fmt="csv")], "same"),
    "extensions_13": ([logical([p_erika(purpose=LINES[:14])])], "pc", [], None, "same"),
    "extensions_15": ([logical([p_erika(purpose=LINES)])], "pc", [], None, "refused"),
    # what the writer cannot hold reads, and the writer refuses it
    "supplements": ([logical([p_mueller(namenszusatz=["ZWEIGNIEDERLASSUNG NORD"],
                                        auftraggeberzusatz=["ABT. BUCHHALTUNG"])])],
                    "pc", [], None, "refused"),
    "client_differs_in_c": ([logical([p_mueller(auftraggeber=STADT)])], "pc", [], None,
                            "refused"),
    # after the last E record
    "trailing_ctrl_z": ([CREDITS], "pc", [("append", b"\x1a")],
                        [reads(notes=[END])], "same"),
    "trailing_nuls": ([CREDITS], "pc", [("pad", b"\0", 1024)], [reads(notes=[END])], "same"),
    "trailing_blanks": ([CREDITS], "pc", [("pad", b" ", 512), ("append", b"\x1a")],
                        [reads(notes=[END])], "same"),
    "trailing_junk": ([CREDITS], "pc", [("append", b"XYZ")], [refused(END)], None),
    "junk_after_ctrl_z": ([CREDITS], "pc", [("append", b"\x1a\x1aXYZ")], [refused((END[0], 2))],
                          None),
    # line breaks after the parts
    "crlf_after_parts": ([CREDITS], "pc", [("breaks", b"\r\n")],
                         [refused((2, 0), tolerant_hint=True),
                          reads("--tolerant", notes=[(2, 0)])], None),
    "lf_after_parts": ([CREDITS], "pc", [("breaks", b"\n")],
                       [refused((2, 0), tolerant_hint=True),
                        reads("--tolerant", notes=[(2, 0)])], None),
    # characters outside the repertoire
    "lower_case_name": ([logical([pay("MAX MUSTERMANN", 1234567890, 50010517, 1000, "51000")])],
                        "pc", [("set", 2, field(C1, "name"), b"Max Mustermann")],
                        [refused((2, field(C1, "name") + 1), tolerant_hint=True),
                         reads("--tolerant", notes=[(2, field(C1, "name") + 1)])], None),
    "cp437_lower_umlauts": ([logical([pay("HÄNDLER GÖTZ MÜLLER", 1234567890, 50010517, 1000,
                                          "51000", ["GRÜSSE"])])], "pc",
                            [("set", 2, field(C1, "name"), b"H\x84NDLER G\x94TZ M\x81LLER"),
                             ("set", 2, field(C2, "purpose1", 1), b"GR\x81SSE")],
                            [refused((2, field(C1, "name") + 1), tolerant_hint=True),
                             reads("--tolerant", notes=[(2, field(C1, "name") + 1)])], None),
    # kind and key disagree; a C record typed E
    "lk_file_with_51000": ([logical([p_hans(), p_hans("51000")], owner=VEREIN, kind="LK")],
                           "pc", [], [refused((3, field(C1, "key")))], None),
    "gk_file_with_05000": ([logical([p_mueller("05000")])], "pc", [],
                           [refused((2, field(C1, "key")))], None),
    "c_typed_e": ([ONE_C], "pc", [("set", 2, field(C1, "type"), b"E")], [refused((2, 0))],
                  None),
    # numeric fields
    "signed_amount_leading_minus": ([ONE_C], "pc",
                                    [("set", 2, field(C1, "amount"), b"-0000002450")],
                                    [refused((2, field(C1, "amount")))], None),
    "signed_amount_inner_minus": ([ONE_C], "pc", [("set", 2, field(C1, "amount"), b"000000-2450")],
                                  [refused((2, field(C1, "amount")))], None),
    "blank_in_blz": ([ONE_C], "pc", [("set", 2, field(C1, "blz"), b"5001 517")],
                     [refused((2, field(C1, "blz")))], None),
    "letters_in_konto": ([ONE_C], "pc", [("set", 2, field(C1, "konto"), b"12345ABCDE")],
                         [refused((2, field(C1, "konto")))], None),
    "dm_amount_in_euro_file": ([ONE_C], "pc", [("set", 2, field(C1, "dm_amount"), num(2450, 11))],
                               [refused((2, field(C1, "dm_amount")))], None),
    "currency_differs_in_c": ([ONE_C], "pc", [("set", 2, field(C2, "currency", 1), b" ")],
                              [refused((2, field(C2, "currency", 1)))], None),
    "letters_in_e_count": ([CREDITS], "pc", [("set", 4, field(E, "count"), b"00000A2")],
                           [refused((4, field(E, "count")))], None),
    # record A
    "a_kind_unknown": ([CREDITS], "pc", [("set", 1, field(A, "kind"), b"XK")],
                       [refused((1, field(A, "kind")))], None),
    "a_file_date_month_13": ([CREDITS], "pc", [("set", 1, field(A, "file_date"), b"011326")],
                             [refused((1, field(A, "file_date")))], None),
    "a_execution_date_31_feb": ([CREDITS], "pc", [("set", 1, field(A, "exec_date"), b"31022027")],
                                [refused((1, field(A, "exec_date")))], None),
    # record lengths and extension slots
    "c_length_abcd": ([ONE_C], "pc", [("set", 2, 0, b"abcd")], [refused((2, 0))], None),
    "c_length_9999": ([ONE_C], "pc", [("set", 2, 0, b"9999")], [refused((2, 0))], None),
    "c_length_not_the_count": ([logical([p_erika()])], "pc", [("set", 2, 0, b"0245")],
                               [refused((2, 0))], None),
    "slot_type_04": ([logical([p_erika(purpose=["A", "B", "C"])])], "pc",
                     [("set", 2, slot_offset(1), b"04")], [refused((2, slot_offset(1)))], None),
    "slot_beyond_count": ([logical([p_erika()])], "pc",
                         [("set", 2, slot_offset(1), b"02" + text("NICHT GEZAEHLT", "pc"))],
                         [refused((2, slot_offset(1)))], None),
    "cut_inside_c": ([CREDITS], "pc", [("cut", 3, 200)], [refused((3, 0))], None),
    "ends_without_e": ([CREDITS], "pc", [("cut", 4, 0)], [refused((4, 0))], None),
    "extension_count_16": ([ONE_C], "pc", [("set", 2, field(C2, "ext_count", 1), b"16")],
                           [refused((2, field(C2, "ext_count", 1)))], None),
    # control figures
    "sums_disagree": ([CREDITS], "pc",
                      [("set", 4, field(E, "konto_sum"), num(1235555545, 17)),
                       ("set", 4, field(E, "amount_sum"), num(12346, 13))],
                      [control_fails(("Summe der Kontonummern", 1235555545, 1235555544),
                                     ("Summe der Beträge in Cent", 12346, 12445)),
                       reads("--no-verify")], None),
    "dm_sum_disagrees": ([logical([p_erika(cents=24500)], file_date="1998-11-30",
                                  currency="DEM")], "pc",
                         [("set", 3, field(E, "dm_sum"), num(24400, 13))],
                         [control_fails(("Summe der Beträge in Pfennig", 24400, 24500))], None),
    "count_disagrees": ([CREDITS], "pc", [("set", 4, field(E, "count"), num(3, 7))],
                        [control_fails(("Anzahl der Datensätze C", 3, 2)),
                         control_fails(("Anzahl der Datensätze C", 3, 2),
                                       options=["--no-verify"])], None),
}


def build(name, files, code, damage, runs, round_trip):
    clean, starts = assemble(files, code)
    data = damaged(clean, starts, damage)

    def at(loc):
        if loc[0] == "end":
            return {"datensatz": len(starts) + 1, "byte": len(clean) + loc[1]}
        return {"datensatz": loc[0], "byte": starts[loc[0] - 1] + loc[1]}

    datei = name + ".dtaus"
    verdicts = []
    for run in runs or [reads()]:
        v = {"options": run["options"], "exit": run["exit"]}
        if "refusal" in run:
            v["refusal"] = dict(at(run["refusal"]), tolerant_hint=run["tolerant_hint"])
        elif "control" in run:
            e_record = len(starts)
            v["control"] = [{"datensatz": e_record, "byte": starts[-1], "figure": figure,
                             "im_datensatz_e": stated, "aus_den_buchungen": counted}
                            for figure, stated, counted in run["control"]]
        else:
            v["notes"] = [at(loc)["byte"] for loc in run["notes"]]
            if run["fmt"] == "csv":
                v["csv"] = expected_csv(files)
            else:
                v["json"] = expected_json(files, datei)
        verdicts.append(v)
    case = {"file": datei, "runs": verdicts}
    if round_trip:
        # The writer codes umlauts by the name: DTAUS0... the 7-bit code, else the PC code.
        case["round_trip"] = {"dateiname": "DTAUS0.TXT" if code == "7bit" else "ZAHLUNG.DTA",
                              "expect": round_trip, "clean_length": len(clean)}
    return data, case


def main():
    files, verdicts = {}, {}
    for name, row in CASES.items():
        files[name + ".dtaus"], verdicts[name] = build(name, *row)
    text_ = json.dumps(verdicts, ensure_ascii=False, indent=1, sort_keys=True) + "\n"
    files["verdicts.json"] = text_.encode("utf-8")
    return write_or_check(OUT_DIR, ".dtaus", files)


if __name__ == "__main__":
    sys.exit(main())
