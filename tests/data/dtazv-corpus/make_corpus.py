#!/usr/bin/env python3
"""Builds the DTAZV reader corpus: files assembled from the published record
layout alone (never from our writer), each with the verdict a checked reader
must reach, strict and tolerant, in verdicts.txt.

A verdict is "ok <payments> <reports>" or "<fault> <record> <offset>" (the
1-based record and the 0-based byte offset the refusal names).

Usage: python3 make_corpus.py           (writes the files next to this script)
       python3 make_corpus.py --check   (compares them with the files in the tree)
"""

import sys
from pathlib import Path

OUT_DIR = Path(__file__).resolve().parent
sys.path.insert(0, str(OUT_DIR.parent))
from golden_files import write_or_check  # noqa: E402


def num(value, digits):
    assert 0 <= value < 10 ** digits
    return b"%0*d" % (digits, value)


def alpha(text, width):
    return text[:width].ljust(width, b" ")


def q_record(name=b"EXPORT AG", date=b"261201", execution=b"261203"):
    rec = b"0256Q" + num(50010517, 8) + num(1234567890, 10)
    rec += alpha(name, 35) + alpha(b"", 35) + alpha(b"KAISERSTR. 1", 35) + alpha(b"FRANKFURT", 35)
    rec += date + b"03" + execution + b"N" + b"06" + num(4711, 8) + b" " * 68
    assert len(rec) == 256
    return rec


def t_record(units=100, hundredths=0, bic=b"BNPAFRPPXXX", bank=None, reports=0,
             name=b"DUPONT SARL", third=b"0", keys=b"00000000", date=b"261203"):
    """bank: (bank code, account, country, four address lines) of another producer's shape."""
    rec = b"0768T" + num(50010517, 8) + b"EUR" + num(1234567890, 10) + date
    if bank:
        blz, konto, country, lines = bank
        rec += num(blz, 8) + b"EUR" + num(konto, 10) + alpha(bic, 11) + alpha(country, 3)
        rec += b"".join(alpha(line, 35) for line in lines)
    else:
        rec += b"00000000" + b"   " + b"0000000000" + alpha(bic, 11) + b"   " + b" " * 140
    rec += b"FR " + alpha(name, 35) + alpha(b"", 35) + alpha(b"1 RUE DE LA PAIX", 35)
    rec += alpha(b"75002 PARIS", 35) + b" " * 70
    rec += b"/" + alpha(b"FR7630006000011234567890189", 34) + b"EUR"
    rec += num(units, 14) + num(hundredths, 2) + third
    rec += alpha(b"RECHNUNG 4711", 35) + b" " * 105
    rec += keys + b" " * 25 + b"00" + b"00" + b" " * 27 + b" " * 35
    rec += (b"1" if reports else b"0") + b" " * 51 + num(reports, 2)
    assert len(rec) == 768
    return rec


def report(kind, text):
    return b"0256" + kind + alpha(text, 251)


def z_record(units, count):
    return b"0256Z" + num(units, 15) + num(count, 15) + b" " * 221


def good(*payments):
    """A file of (t record, units) pairs, with reports after each where given."""
    body = b"".join(t for t, _ in payments)
    return q_record() + body + z_record(sum(u for _, u in payments), len(payments))


T1, T2 = t_record(units=1250, hundredths=99), t_record(units=3, hundredths=5)
OK2 = "ok 2 0"

CASES = {
    # name: (bytes, strict verdict, tolerant verdict)
    "two_payments": (good((T1, 1250), (T2, 3)), OK2, OK2),
    "no_payments": (good(), "ok 0 0", "ok 0 0"),
    "bank_by_address": (good((t_record(bic=b"", bank=(0, 0, b"FR", [b"BANQUE X", b"PARIS", b"",
                                                                     b""])), 100)),
                        "ok 1 0", "ok 1 0"),
    "bank_code_and_account": (good((t_record(bank=(30004, 12345, b"", [b""] * 4)), 100)),
                              "ok 1 0", "ok 1 0"),
    "instruction_keys": (good((t_record(keys=b"02100000"), 100)), "ok 1 0", "ok 1 0"),
    "no_execution_date": (q_record(execution=b"      ") + t_record(date=b"      ") +
                          z_record(100, 1), "ok 1 0", "ok 1 0"),
    "reports_v_and_w": (q_record() + t_record(reports=2) + report(b"V", b"TRANSIT 1") +
                        report(b"W", b"221 DIENSTLEISTUNG") + z_record(100, 1),
                        "ok 1 2", "ok 1 2"),
    "crlf_between_records": (b"\r\n".join([q_record(), T1, T2, z_record(1253, 2)]) + b"\r\n",
                             "LineBreaks 2 256", OK2),
    "lower_case_name": (good((t_record(name=b"Dupont Sarl"), 100)), "Text 2 467",
                        "ok 1 0"),
    "ctrl_z_padding": (good((T1, 1250), (T2, 3)) + b"\x1a" * 3, OK2, OK2),
    # damaged
    "empty": (b"", "Truncated 1 0", "Truncated 1 0"),
    "header_not_q": (b"0256A" + q_record()[5:], "Structure 1 0", "Structure 1 0"),
    "creation_date_31_nov": (q_record(date=b"261131") + z_record(0, 0), "Structure 1 163",
                             "Structure 1 163"),
    "umlaut_in_name": (good((t_record(name=b"M\xdcLLER"), 100)), "Text 2 467", "Text 2 467"),
    "thousandths": (good((t_record(third=b"5"), 100)), "Structure 2 730", "Structure 2 730"),
    "count_disagrees": (q_record() + T1 + z_record(1250, 2), "Totals 3 1024", "Totals 3 1024"),
    "sum_counts_hundredths": (q_record() + T1 + z_record(1251, 1), "Totals 3 1024",
                              "Totals 3 1024"),
    "report_missing": (q_record() + t_record(reports=1) + z_record(100, 1), "Structure 3 1024",
                       "Structure 3 1024"),
    "report_unannounced": (q_record() + T1 + report(b"W", b"X") + z_record(1250, 1),
                           "Structure 3 1024", "Structure 3 1024"),
    "cut_inside_t": ((q_record() + T1)[:700], "Truncated 2 256", "Truncated 2 256"),
    "no_z": (q_record() + T1, "Truncated 3 1024", "Truncated 3 1024"),
    "garbage_after_z": (good((T1, 1250)) + b"XYZ", "TrailingBytes 4 1280", "TrailingBytes 4 1280"),
}


def main():
    files = {name + ".dtazv": data for name, (data, _, _) in CASES.items()}
    verdicts = "".join("%s | %s | %s\n" % (name, strict, tolerant)
                       for name, (_, strict, tolerant) in sorted(CASES.items()))
    status = write_or_check(OUT_DIR, ".dtazv", files)
    path = OUT_DIR / "verdicts.txt"
    if "--check" in sys.argv[1:]:
        if not path.exists() or path.read_text() != verdicts:
            print("%s: differs from its generator; run %s" % (path, sys.argv[0]))
            return 1
        return status
    path.write_text(verdicts)
    return status


if __name__ == "__main__":
    sys.exit(main())
