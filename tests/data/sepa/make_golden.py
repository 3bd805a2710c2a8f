#!/usr/bin/env python3
"""Builds the SEPA golden files of tests/sepa/test_sepa_golden_files.cpp.

Every document is assembled here, element by element, from the pain schemas'
element order and the German banks' rules for their content (character set,
field lengths, agents without a BIC). Nothing is taken from the library's
output. Next to each document goes the list of transactions an independent
parser must read from it (<name>.json, for tests/sepa/peer/read_back.py), made
from the same payments.

Usage: python3 make_golden.py           (writes the files next to this script)
       python3 make_golden.py --check   (compares them with the files in the tree)
"""

import json
import sys
import unicodedata
from pathlib import Path

OUT_DIR = Path(__file__).resolve().parent
sys.path.insert(0, str(OUT_DIR.parent))
from golden_files import write_or_check  # noqa: E402

# ---------------------------------------------------------------- the payments
# The same settings and payments as Settings(), Transfers() and Debits() in
# tests/sepa/test_sepa_golden_files.cpp; change both together.

MESSAGE_ID = "MSG-2026-12-09-001"
CREATED = "2026-12-09T10:30:05"
OWN_NAME = "Müller & Söhne GmbH"
OWN_IBAN = "DE89370400440532013000"
CREDITOR_ID = "DE98ZZZ09999999999"

USTRD_140 = "Rechnung 2026-1234 " + "x" * 121  # exactly 140 characters
USTRD_141 = "Rechnung 2026-9999 " + "y" * 122  # one more, cut by the writer


def payment(date, cents, name, iban, bic, end_to_end, remittance, sequence="", mandate="",
            signed="", purpose=""):
    return {"date": date, "cents": cents, "name": name, "iban": iban, "bic": bic,
            "end_to_end": end_to_end, "remittance": remittance, "sequence": sequence,
            "mandate": mandate, "signed": signed, "purpose": purpose}


TRANSFERS = [
    payment("2026-12-11", 12345, "Łukasz Nowak", "PL61109010140000071219812874", "WBKPPLPP",
            "E2E-1", "Miete Dezember"),
    payment("2026-12-10", 100, "Jürgen Weiß", "DE02120300000000202051", "", "", USTRD_140),
    payment("2026-12-11", 99999999999, "Erika Musterfrau", "DE02500105170137075030", "",
            "E2E-3", USTRD_141, purpose="SALA"),
]

DEBITS = [
    payment("2026-12-15", 4990 * n, "Hans Schuldner %d" % n, "DE02100100100006820101",
            "PBNKDEFF" if n % 2 else "", "E2E-D%d" % n, "Beitrag Dezember", sequence,
            "MANDAT-%d" % n, "2025-03-%02d" % n, purpose="INSU" if n == 4 else "")
    for n, sequence in enumerate(("FRST", "RCUR", "OOFF", "FNAL"), 1)
]

# file -> (pain version, payments, own BIC, local instrument of debits)
CASES = {
    "transfers_001_001_09": ("pain.001.001.09", TRANSFERS, "COBADEFFXXX", ""),
    "transfers_001_003_03": ("pain.001.003.03", TRANSFERS, "", ""),
    "debits_core_008_001_08": ("pain.008.001.08", DEBITS, "", "CORE"),
    "debits_b2b_008_003_02": ("pain.008.003.02", DEBITS, "COBADEFFXXX", "B2B"),
}

# ---------------------------------------------------------------- the banks' rules

# The German banks' character set: the Latin basics, umlauts, ß and & * $ %.
BANK_CHARACTERS = set(
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
    " '-?:().,+/" "&*$%" "ÄÖÜäöüß")
# Letters that Unicode does not decompose into a base letter and an accent.
PLAIN_LETTERS = {"Ł": "L", "ł": "l", "Ø": "O", "ø": "o", "Æ": "AE", "æ": "ae", "Œ": "OE",
                 "œ": "oe", "Đ": "D", "đ": "d"}

NAME_LENGTH = 70
REMITTANCE_LENGTH = 140
SEQUENCE_ORDER = ("FRST", "RCUR", "OOFF", "FNAL")


def bank_character(ch):
    if ch in BANK_CHARACTERS:
        return ch
    if ch in PLAIN_LETTERS:
        return PLAIN_LETTERS[ch]
    base = "".join(c for c in unicodedata.normalize("NFD", ch) if not unicodedata.combining(c))
    assert base and all(c in BANK_CHARACTERS for c in base), "no counterpart for %r" % ch
    return base


def bank_text(text, length):
    """In the banks' character set, cut to its field, no blanks at the end."""
    return "".join(bank_character(ch) for ch in text)[:length].rstrip(" ")


def amount(cents):
    return "%d.%02d" % divmod(cents, 100)


def groups(version, payments):
    """Payment information blocks: by date, debits then by sequence type; payments
    keep their order within a block."""
    debits = version.startswith("pain.008")
    key = (lambda p: (p["date"], SEQUENCE_ORDER.index(p["sequence"]))) if debits else (
        lambda p: p["date"])
    keys = sorted({key(p) for p in payments})
    return [[p for p in payments if key(p) == k] for k in keys]


# ---------------------------------------------------------------- the document


def element(tag, *children, **attributes):
    """An element: text (one str) or child elements."""
    return (tag, attributes, list(children))


def escape(text, quote=False):
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return text.replace('"', "&quot;") if quote else text


def serialise(node, depth=0):
    tag, attributes, children = node
    pad = "  " * depth
    attrs = "".join(' %s="%s"' % (k, escape(v, True)) for k, v in attributes.items())
    if len(children) == 1 and isinstance(children[0], str):
        return "%s<%s%s>%s</%s>\n" % (pad, tag, attrs, escape(children[0]), tag)
    inner = "".join(serialise(child, depth + 1) for child in children)
    return "%s<%s%s>\n%s%s</%s>\n" % (pad, tag, attrs, inner, pad, tag)


def agent(tag, bic, german):
    """An agent by its BIC; without one, NOTPROVIDED as the banks ask."""
    if bic:
        institution = element("BIC" if german else "BICFI", bic)
    else:
        institution = element("Othr", element("Id", "NOTPROVIDED"))
    return element(tag, element("FinInstnId", institution))


def party(tag, name, iban):
    return [element(tag, element("Nm", bank_text(name, NAME_LENGTH))),
            element(tag + "Acct", element("Id", element("IBAN", iban)))]


def purpose(p):
    """The ISO 20022 purpose code; every version puts it after the counterparty's account."""
    return [element("Purp", element("Cd", p["purpose"]))] if p["purpose"] else []


def remittance(p):
    text = bank_text(p["remittance"], REMITTANCE_LENGTH)
    return [element("RmtInf", element("Ustrd", text))] if text else []


def end_to_end(p):
    return element("PmtId", element("EndToEndId", p["end_to_end"] or "NOTPROVIDED"))


def transfer(p, german):
    creditor_agent = [agent("CdtrAgt", p["bic"], german)] if p["bic"] else []
    return element("CdtTrfTxInf", end_to_end(p),
                   element("Amt", element("InstdAmt", amount(p["cents"]), Ccy="EUR")),
                   *creditor_agent, *party("Cdtr", p["name"], p["iban"]), *purpose(p),
                   *remittance(p))


def debit(p, german):
    mandate = element("MndtRltdInf", element("MndtId", p["mandate"]),
                      element("DtOfSgntr", p["signed"]))
    return element("DrctDbtTxInf", end_to_end(p),
                   element("InstdAmt", amount(p["cents"]), Ccy="EUR"),
                   element("DrctDbtTx", mandate),
                   agent("DbtrAgt", p["bic"], german), *party("Dbtr", p["name"], p["iban"]),
                   *purpose(p), *remittance(p))


def payment_block(number, block, version, own_bic, instrument):
    german = ".003." in version
    first = block[0]
    head = [element("PmtInfId", "%s-%d" % (MESSAGE_ID, number)),
            element("PmtMtd", "DD" if instrument else "TRF"),
            element("NbOfTxs", str(len(block))),
            element("CtrlSum", amount(sum(p["cents"] for p in block)))]
    if instrument:
        scheme = element("CdtrSchmeId", element("Id", element("PrvtId", element(
            "Othr", element("Id", CREDITOR_ID), element("SchmeNm", element("Prtry", "SEPA"))))))
        return element("PmtInf", *head,
                       element("PmtTpInf", element("SvcLvl", element("Cd", "SEPA")),
                               element("LclInstrm", element("Cd", instrument)),
                               element("SeqTp", first["sequence"])),
                       element("ReqdColltnDt", first["date"]),
                       *party("Cdtr", OWN_NAME, OWN_IBAN), agent("CdtrAgt", own_bic, german),
                       element("ChrgBr", "SLEV"), scheme,
                       *(debit(p, german) for p in block))
    date = element("ReqdExctnDt", first["date"] if german else element("Dt", first["date"]))
    return element("PmtInf", *head,
                   element("PmtTpInf", element("SvcLvl", element("Cd", "SEPA"))), date,
                   *party("Dbtr", OWN_NAME, OWN_IBAN), agent("DbtrAgt", own_bic, german),
                   element("ChrgBr", "SLEV"),
                   *(transfer(p, german) for p in block))


def document(version, payments, own_bic, instrument):
    total = sum(p["cents"] for p in payments)
    header = element("GrpHdr", element("MsgId", MESSAGE_ID), element("CreDtTm", CREATED),
                     element("NbOfTxs", str(len(payments))), element("CtrlSum", amount(total)),
                     element("InitgPty", element("Nm", bank_text(OWN_NAME, NAME_LENGTH))))
    blocks = [payment_block(n, block, version, own_bic, instrument)
              for n, block in enumerate(groups(version, payments), 1)]
    root = element("Document",
                   element("CstmrDrctDbtInitn" if instrument else "CstmrCdtTrfInitn",
                           header, *blocks),
                   xmlns="urn:iso:std:iso:20022:tech:xsd:" + version)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n' + serialise(root)).encode("utf-8")


# ---------------------------------------------------------------- what a parser must read


def expected(version, payments, own_bic, instrument):
    """One object a transaction, in file order, with the keys of PainPeer.java."""
    read = []
    for number, block in enumerate(groups(version, payments), 1):
        for p in block:
            t = {"version": version, "payment_info_id": "%s-%d" % (MESSAGE_ID, number),
                 "initiator_name": bank_text(OWN_NAME, NAME_LENGTH), "own_iban": OWN_IBAN}
            if own_bic:
                t["own_bic"] = own_bic
            t["party_name"] = bank_text(p["name"], NAME_LENGTH)
            t["party_iban"] = p["iban"]
            if p["bic"]:
                t["party_bic"] = p["bic"]
            t["amount"] = amount(p["cents"])
            t["currency"] = "EUR"
            t["collection_date" if instrument else "execution_date"] = p["date"]
            t["end_to_end_id"] = p["end_to_end"] or "NOTPROVIDED"
            if bank_text(p["remittance"], REMITTANCE_LENGTH):
                t["remittance"] = bank_text(p["remittance"], REMITTANCE_LENGTH)
            if p["purpose"]:
                t["purpose_code"] = p["purpose"]
            if instrument:
                t.update({"mandate_id": p["mandate"], "mandate_signed": p["signed"],
                          "sequence_type": p["sequence"], "creditor_id": CREDITOR_ID,
                          "local_instrument": instrument})
            read.append(t)
    lines = ",\n".join("  " + json.dumps(t, ensure_ascii=False) for t in read)
    return ("[\n" + lines + "\n]\n").encode("utf-8")


def main():
    files = {}
    for name, case in CASES.items():
        files[name + ".xml"] = document(*case)
        files[name + ".json"] = expected(*case)
    return write_or_check(OUT_DIR, ".xml", files)


if __name__ == "__main__":
    sys.exit(main())
