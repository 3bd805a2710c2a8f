#!/usr/bin/env python3
"""The golden pain.001.001.09 documents made from DTAZV files, read back twice.

1. By a reader of this test's own (ElementTree), for every field a foreign
   transfer carries: amount and currency or the euro equivalent, charge bearer,
   service level, the creditor's bank by BIC or by name and address, the payee,
   an account that is an IBAN or not, the instructions to both banks, the
   regulatory reports, the remittance and the date. The expected values are
   those of the DTAZV records in tests/convert/test_dtazv_to_sepa.cpp, written
   here by hand, not taken from the documents.
2. By the independent Java parser (tests/sepa/peer), for the fields it knows.
   It cannot represent a euro equivalent (EqvtAmt: it fails on the missing
   instructed amount), so charge_bearers.xml is read by the first reader only.

    dtazv_documents_read_back.py GOLDEN_DIR    (ZORDTA_SEPA_PEER_CLASSES for the peer)
"""

import os
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "sepa" / "peer"))
import read_back  # noqa: E402

NS = {"p": "urn:iso:std:iso:20022:tech:xsd:pain.001.001.09"}

# The payee of the records' defaults, and their purpose line.
ACME = {"creditor": ["ACME CORP.", "350 FIFTH AVENUE", "NEW YORK NY 10118", "US"],
        "remittance": "INVOICE 2026-77"}

EXPECTED = {
    "sepa_eur.xml": [dict(
        date="2026-12-03", amount="1500.25 EUR", charge_bearer="SLEV", service_level="SEPA",
        agent="BNPAFRPPXXX", account="IBAN FR7630006000011234567890189",
        creditor=["DUPONT SARL", "1 RUE DE LA PAIX", "75002 PARIS", "FR"],
        instruction_id="REF 4711", remittance="INVOICE 2026-77")],
    "foreign_currency.xml": [dict(
        ACME, date="2026-12-03", amount="1500.25 USD", charge_bearer="SHAR",
        service_level="URGP", agent="CHASUS33XXX", account="OTHR 000123456789",
        creditor_agent=["PHOB TEL 001 212 555 0100"],
        debtor_agent="ANSPRECHPARTNER H. MEIER 069 1234", instruction_id="ORDER 99")],
    "charge_bearers.xml": [
        dict(ACME, date="2026-12-03", amount="1500.25 CHF", charge_bearer="SHAR",
             agent="UBSWCHZH80A", account="IBAN CH9300762011623852957",
             creditor=ACME["creditor"][:3] + ["CH"]),
        dict(ACME, date="2026-12-03", amount="1500.25 GBP", charge_bearer="DEBT",
             agent=["BARCLAYS BANK PLC", "LONDON E14 5HP", "GB", "1 CHURCHILL PLACE"],
             account="IBAN GB33BUKB20201555555555", creditor=ACME["creditor"][:3] + ["GB"]),
        dict(ACME, date="2026-12-04", amount="1500.25 EUR paid in JPY", charge_bearer="CRED",
             agent="BOTKJPJT", account="OTHR 000123456789",
             creditor=ACME["creditor"][:3] + ["JP"])],
    "reporting.xml": [dict(
        ACME, date="2026-12-03", amount="1500.25 USD", charge_bearer="SHAR",
        service_level="SDVA", agent="CHASUS33XXX", account="OTHR 000123456789",
        creditor_agent=["CHQB"], debtor_agent="WEISUNGSSCHLUESSEL 09",
        reports=["2521 BERATUNGSLEISTUNG US 0000000150000 SOFTWARE LIZENZ 2026",
                 "2221 FRACHT"])],
}

# What the peer reads of the same payments, where it can.
PEER_READABLE = ("sepa_eur.xml", "foreign_currency.xml", "reporting.xml")


def text(node, path):
    found = node.find(path, NS)
    return found.text if found is not None else None


def amount(tx):
    instructed = tx.find("p:Amt/p:InstdAmt", NS)
    if instructed is not None:
        return f"{instructed.text} {instructed.get('Ccy')}"
    equivalent = tx.find("p:Amt/p:EqvtAmt/p:Amt", NS)
    return (f"{equivalent.text} {equivalent.get('Ccy')} paid in "
            f"{text(tx, 'p:Amt/p:EqvtAmt/p:CcyOfTrf')}")


def agent(tx):
    bic = text(tx, "p:CdtrAgt/p:FinInstnId/p:BICFI")
    if bic:
        return bic
    bank = tx.find("p:CdtrAgt/p:FinInstnId", NS)
    return [text(bank, "p:Nm"), text(bank, "p:PstlAdr/p:TwnNm"), text(bank, "p:PstlAdr/p:Ctry")] + [
        line.text for line in bank.findall("p:PstlAdr/p:AdrLine", NS)]


def account(tx):
    iban = text(tx, "p:CdtrAcct/p:Id/p:IBAN")
    return f"IBAN {iban}" if iban else f"OTHR {text(tx, 'p:CdtrAcct/p:Id/p:Othr/p:Id')}"


def read_payment(block, tx):
    """A transaction as the keys of EXPECTED; keys without a value are left out."""
    payment = {
        "date": text(block, "p:ReqdExctnDt/p:Dt"),
        "amount": amount(tx),
        "charge_bearer": text(tx, "p:ChrgBr") or text(block, "p:ChrgBr"),
        "service_level": text(tx, "p:PmtTpInf/p:SvcLvl/p:Cd")
        or text(block, "p:PmtTpInf/p:SvcLvl/p:Cd"),
        "agent": agent(tx),
        "account": account(tx),
        "creditor": [text(tx, "p:Cdtr/p:Nm")] + [
            text(tx, f"p:Cdtr/p:PstlAdr/p:{part}") for part in ("StrtNm", "TwnNm", "Ctry")],
        "creditor_agent": [" ".join(filter(None, [text(i, "p:Cd"), text(i, "p:InstrInf")]))
                           for i in tx.findall("p:InstrForCdtrAgt", NS)] or None,
        "debtor_agent": text(tx, "p:InstrForDbtrAgt"),
        "instruction_id": text(tx, "p:PmtId/p:InstrId"),
        # A report's text is cut into lines of 35; joined again, it is the record's.
        "reports": ["".join(i.text for i in r.findall("p:Dtls/p:Inf", NS))
                    for r in tx.findall("p:RgltryRptg", NS)] or None,
        "remittance": text(tx, "p:RmtInf/p:Ustrd"),
    }
    return {key: value for key, value in payment.items() if value is not None}


def read_document(path):
    root = ET.parse(path).getroot()
    return [read_payment(block, tx) for block in root.iterfind(".//p:PmtInf", NS)
            for tx in block.iterfind("p:CdtTrfTxInf", NS)]


def differences(name, expected, read):
    if len(expected) != len(read):
        return [f"{name}: {len(expected)} Zahlungen erwartet, {len(read)} gelesen"]
    found = []
    for number, (want, got) in enumerate(zip(expected, read), 1):
        for key in sorted(set(want) | set(got)):
            if want.get(key) != got.get(key):
                found.append(f"{name}, Zahlung {number}: {key} {got.get(key)!r}, "
                             f"erwartet {want.get(key)!r}")
    return found


def peer_differences(name, path, expected, classes):
    read, error = read_back.read_with_peer(str(path), classes)
    if error:
        return [f"{name}: Parser: {error}"]
    found = []
    for number, (want, got) in enumerate(zip(expected, read), 1):
        value, currency = want["amount"].split()[:2]
        account = want["account"].split()
        pairs = {"party_name": want["creditor"][0], "amount": value, "currency": currency,
                 "execution_date": want["date"], "remittance": want["remittance"],
                 "party_bic": want["agent"],
                 "party_iban": account[1] if account[0] == "IBAN" else None}
        for key, meant in pairs.items():
            if got.get(key) != meant:
                found.append(f"{name}, Zahlung {number} (Parser): {key} {got.get(key)!r}, "
                             f"erwartet {meant!r}")
    return found


def main():
    golden = Path(sys.argv[1])
    classes = os.environ.get("ZORDTA_SEPA_PEER_CLASSES")
    problems = []
    for name, expected in EXPECTED.items():
        problems += differences(name, expected, read_document(golden / name))
        if classes and name in PEER_READABLE:
            problems += peer_differences(name, golden / name, expected, classes)
    for problem in problems:
        print(problem)
    checked = "eigener Leser" + (" und Parser" if classes else "")
    print(f"{len(EXPECTED)} Dokumente ({checked}), {len(problems)} Abweichungen")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
