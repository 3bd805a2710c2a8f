#!/usr/bin/env python3
"""Writes the hand-made part of the SEPA corpus next to this script.

    make_handmade.py          writes hand-*.xml and refused-*.xml with their X.json
                              stubs (producer, verdict, reason); content.py adds the
                              content (tests/sepa/corpus/make_corpus.sh runs both)
    make_handmade.py --check  only compares them with the files in the tree

The "read" files together use every element of the SEPA subset of pain.001.001.09
and pain.008.001.08, and what of it the older schemas have. Each "refused" file is
schema-valid and breaks exactly one rule; the json names it and the German word
that the reader's message must hold.
"""

import json
import sys
from decimal import Decimal
from pathlib import Path
from xml.sax.saxutils import escape

HERE = Path(__file__).resolve().parent
URN = "urn:iso:std:iso:20022:tech:xsd:"
CREATED = "2031-03-10T08:15:00"
PRODUCER = "hand-made (make_handmade.py)"


# --- Elements -------------------------------------------------------------------

def E(tag, *children, **attributes):
    """An element; children are elements or one text; None children are left out."""
    return (tag, attributes, [c for c in children if c is not None])


def render(element, depth=0):
    tag, attributes, children = element
    pad = "  " * depth
    attrs = "".join(f' {k}="{escape(v, {chr(34): "&quot;"})}"' for k, v in attributes.items())
    if len(children) == 1 and isinstance(children[0], str):
        return f"{pad}<{tag}{attrs}>{escape(children[0])}</{tag}>\n"
    inner = "".join(render(child, depth + 1) for child in children)
    return f"{pad}<{tag}{attrs}>\n{inner}{pad}</{tag}>\n"


def amounts(element):
    tag, _, children = element
    if tag == "InstdAmt":
        return [Decimal(children[0])]
    return [a for c in children if not isinstance(c, str) for a in amounts(c)]


def current(version):
    return version in ("pain.001.001.09", "pain.008.001.08")


# --- Parties --------------------------------------------------------------------

ADDRESS_ORDER = ["Dept", "SubDept", "StrtNm", "BldgNb", "BldgNm", "Flr", "PstBx", "Room",
                 "PstCd", "TwnNm", "TwnLctnNm", "DstrctNm", "CtrySubDvsn", "Ctry"]


def address(*lines, **fields):
    """PostalAddress24 in schema order: structured fields, then up to two lines."""
    assert set(fields) <= set(ADDRESS_ORDER), fields
    return E("PstlAdr", *[E(name, fields[name]) for name in ADDRESS_ORDER if name in fields],
             *[E("AdrLine", line) for line in lines])


def old_address(country, *lines):
    return E("PstlAdr", E("Ctry", country), *[E("AdrLine", line) for line in lines])


def other(identifier, code=None, proprietary=None, issuer=None):
    scheme = None
    if code or proprietary:
        scheme = E("SchmeNm", E("Cd", code) if code else E("Prtry", proprietary))
    return E("Othr", E("Id", identifier), scheme, E("Issr", issuer) if issuer else None)


def org_bic(version, bic):
    return E("Id", E("OrgId", E("AnyBIC" if current(version) else "BICOrBEI", bic)))


def org_lei(lei):
    return E("Id", E("OrgId", E("LEI", lei)))


def org_other(*args, **kwargs):
    return E("Id", E("OrgId", other(*args, **kwargs)))


def private_other(*args, **kwargs):
    return E("Id", E("PrvtId", other(*args, **kwargs)))


def party(tag, name, *rest):
    return E(tag, E("Nm", name), *rest)


def account(tag, iban):
    return E(tag, E("Id", E("IBAN", iban)))


def agent(version, tag, bic):
    if bic is None:
        return E(tag, E("FinInstnId", E("Othr", E("Id", "NOTPROVIDED"))))
    return E(tag, E("FinInstnId", E("BICFI" if current(version) else "BIC", bic)))


def creditor_id(identifier, tag="CdtrSchmeId", name=None):
    return E(tag, E("Nm", name) if name else None,
             E("Id", E("PrvtId", other(identifier, proprietary="SEPA"))))


def creditor_reference(reference, issuer=None):
    return E("RmtInf", E("Strd", E("CdtrRefInf", E("Tp", E("CdOrPrtry", E("Cd", "SCOR")),
                                                      E("Issr", issuer) if issuer else None),
                                    E("Ref", reference))))


def unstructured(text):
    return E("RmtInf", E("Ustrd", text))


def payment_type(*, local=None, sequence=None, category=None):
    return E("PmtTpInf", E("SvcLvl", E("Cd", "SEPA")),
             E("LclInstrm", E("Cd", local)) if local else None,
             E("SeqTp", sequence) if sequence else None,
             E("CtgyPurp", E("Cd", category)) if category else None)


# --- Documents ------------------------------------------------------------------

def document(version, message_id, initiator, blocks):
    """blocks: (PmtInfId, BtchBookg or None, head elements, transactions); the
    counts and sums are worked out here."""
    transfer = version.startswith("pain.001")
    every = [a for _, _, _, txs in blocks for tx in txs for a in amounts(tx)]
    header = E("GrpHdr", E("MsgId", message_id), E("CreDtTm", CREATED),
               E("NbOfTxs", str(len(every))), E("CtrlSum", str(sum(every))), initiator)
    infos = []
    for block_id, batch, head, txs in blocks:
        mine = [a for tx in txs for a in amounts(tx)]
        infos.append(E("PmtInf", E("PmtInfId", block_id), E("PmtMtd", "TRF" if transfer else "DD"),
                       E("BtchBookg", batch) if batch else None,
                       E("NbOfTxs", str(len(mine))), E("CtrlSum", str(sum(mine))), *head, *txs))
    root = E("Document", E("CstmrCdtTrfInitn" if transfer else "CstmrDrctDbtInitn",
                           header, *infos), xmlns=URN + version)
    return '<?xml version="1.0" encoding="UTF-8"?>\n' + render(root)


def amount(version, value, debit):
    if debit:
        return E("InstdAmt", value, Ccy="EUR")
    return E("Amt", E("InstdAmt", value, Ccy="EUR"))


# The company of the transfer files pays from two accounts; its service bureau
# sends the files (initiating party).
COMPANY = "Muster Maschinenbau GmbH"
BUREAU = "Rechenzentrum Nord eG"
USTRD_140 = ("Rechnung 2031-0815 vom 03.03.2031, Kd-Nr. 4711-0815, Lieferung Büromaterial "
             "und Toner laut Angebot A-2031-17, Teil 1 von 2, Skonto 2 Prozent")
assert len(USTRD_140) == 140, len(USTRD_140)


def transfer_tx(version, value, name, iban, *, bic=None, instr=None, e2e="NOTPROVIDED",
                uetr=None, ptype=None, ultimate_debtor=None, creditor=(), ultimate=None,
                purpose=None, remittance=None):
    return E("CdtTrfTxInf",
             E("PmtId", E("InstrId", instr) if instr else None, E("EndToEndId", e2e),
               E("UETR", uetr) if uetr else None),
             ptype, amount(version, value, False), ultimate_debtor,
             agent(version, "CdtrAgt", bic) if bic else None,
             party("Cdtr", name, *creditor), account("CdtrAcct", iban), ultimate,
             E("Purp", E("Cd", purpose)) if purpose else None, remittance)


def transfer_head(version, date, ptype, iban, bic, *, debtor=(), ultimate=None):
    when = E("ReqdExctnDt", E("Dt", date)) if current(version) else E("ReqdExctnDt", date)
    return [ptype, when, party("Dbtr", COMPANY, *debtor), account("DbtrAcct", iban),
            agent(version, "DbtrAgt", bic), ultimate, E("ChrgBr", "SLEV")]


def transfers_current():
    v = "pain.001.001.09"
    initiator = party("InitgPty", BUREAU, org_other("RZN-000815", proprietary="KUNDENNUMMER",
                                                      issuer="Rechenzentrum Nord"))
    company_address = address(StrtNm="Industriestraße", BldgNb="12a", PstCd="70565",
                              TwnNm="Stuttgart", Ctry="DE")
    first = transfer_head(
        v, "2031-03-14", payment_type(category="SUPP"), "DE89370400440532013000", "COBADEFFXXX",
        debtor=[company_address, org_lei("529900T8BM49AURSDO55")],
        ultimate=party("UltmtDbtr", "Muster Service GmbH",
                       address("Gebäude C, Tor 3", TwnNm="Esslingen", Ctry="DE"),
                       org_other("HRB 765432", proprietary="HANDELSREGISTER",
                                 issuer="Amtsgericht Stuttgart")))
    first_txs = [
        transfer_tx(v, "1785.00", "Schrauben Schulz KG", "DE77100100100123456789",
                    bic="PBNKDEFFXXX", instr="ZAHL-2031-0001", e2e="RE-2031-0815",
                    uetr="e8f3a1c2-5b7d-4e9a-9c3f-2d1b0a6e4f87",
                    creditor=[address(Dept="Buchhaltung", SubDept="Kreditoren",
                                      StrtNm="Hafenstraße", BldgNb="7", BldgNm="Speicher 2",
                                      Flr="3", PstBx="11 22 33", Room="312", PstCd="20457",
                                      TwnNm="Hamburg", TwnLctnNm="HafenCity",
                                      DstrctNm="Hamburg-Mitte", CtrySubDvsn="HH", Ctry="DE"),
                              org_bic(v, "HASPDEHHXXX")],
                    ultimate=party("UltmtCdtr", "Schulz Factoring GmbH",
                                   address(StrtNm="Ballindamm", BldgNb="1", PstCd="20095",
                                           TwnNm="Hamburg", Ctry="DE"),
                                   org_lei("5299000J2N45DDNE4Y28")),
                    purpose="GDDS", remittance=creditor_reference("RF18539007547034", "ISO")),
        transfer_tx(v, "240.17", "Jana Novak", "DE75120300001020304050",
                    e2e="RE-2031-0816",
                    creditor=[address("Hinterhaus, 2. OG", "bei Familie Berger",
                                      TwnNm="Leipzig", Ctry="DE"),
                              private_other("KD-99812", proprietary="KUNDENNUMMER",
                                            issuer=COMPANY)],
                    remittance=unstructured(USTRD_140)),
    ]
    second = transfer_head(
        v, "2031-03-14", payment_type(local="INST"), "DE44500105175407324931", "INGDDEFFXXX",
        debtor=[company_address])
    second_txs = [
        transfer_tx(v, "9800.00", "Präzisionsteile Bern AG", "CH7809000000012345678",
                    bic="POFICHBEXXX", instr="ZAHL-2031-0002", e2e="BE-2031-77",
                    uetr="0f2c6b1e-93a4-4d57-a8e2-6c1f5b7d3e90",
                    creditor=[address(StrtNm="Laupenstrasse", BldgNb="18", PstCd="3008",
                                      TwnNm="Bern", Ctry="CH"),
                              org_other("CHE-123.456.789", code="TXID")],
                    remittance=unstructured("Auftrag 2031-77, Frästeile")),
        transfer_tx(v, "64.20", "Wiener Bürobedarf KG", "AT252011182221888888",
                    e2e="WB-2031-0042", purpose="SUPP",
                    remittance=creditor_reference("RF46RECHNUNG2030042")),
    ]
    third = transfer_head(v, "2031-03-28", None, "DE89370400440532013000", "COBADEFFXXX",
                          debtor=[company_address])
    third_txs = [
        transfer_tx(v, "3120.55", "Jürgen Weiß", "DE97701500000000123456", e2e="LOHN-2031-03-17",
                    ptype=payment_type(category="SALA"),
                    ultimate_debtor=party("UltmtDbtr", "Muster Personal GmbH",
                                          org_other("DE123456789", code="TXID")),
                    purpose="SALA", remittance=unstructured("Lohn März 2031")),
        transfer_tx(v, "1480.00", "Hannelore Krause", "DE48430609674011223300",
                    e2e="RENTE-2031-03-04", ptype=payment_type(category="PENS"),
                    creditor=[private_other("4711-2031-K", proprietary="PERSONALNUMMER")],
                    purpose="PENS", remittance=unstructured("Betriebsrente März 2031")),
    ]
    return document(v, "MMB-2031-03-0001", initiator,
                    [("MMB-2031-03-0001-1", "true", first, first_txs),
                     ("MMB-2031-03-0001-2", "false", second, second_txs),
                     ("MMB-2031-03-0001-3", None, third, third_txs)])


def transfers_old(v):
    initiator = party("InitgPty", BUREAU, org_bic(v, "GENODEF1RZN"))
    first = transfer_head(
        v, "2031-03-14", payment_type(category="SUPP"), "DE89370400440532013000", "COBADEFFXXX",
        debtor=[old_address("DE", "Industriestraße 12a", "70565 Stuttgart"),
                org_other("HRB 765432", proprietary="HANDELSREGISTER",
                          issuer="Amtsgericht Stuttgart")],
        ultimate=party("UltmtDbtr", "Muster Service GmbH", org_bic(v, "MUSTDEFFXXX")))
    first_txs = [
        transfer_tx(v, "1785.00", "Schrauben Schulz KG", "DE77100100100123456789",
                    bic="PBNKDEFFXXX", instr="ZAHL-2031-0001", e2e="RE-2031-0815",
                    creditor=[old_address("DE", "Hafenstraße 7", "20457 Hamburg"),
                              org_other("DE987654321", code="TXID")],
                    ultimate=party("UltmtCdtr", "Schulz Factoring GmbH",
                                   private_other("SF-0001", proprietary="KREDITOR",
                                                 issuer="Schulz Factoring")),
                    purpose="GDDS", remittance=creditor_reference("RF18539007547034", "ISO")),
        transfer_tx(v, "240.17", "Jana Novak", "DE75120300001020304050", e2e="RE-2031-0816",
                    remittance=unstructured(USTRD_140)),
    ]
    second = transfer_head(v, "2031-03-28", None, "DE44500105175407324931", "INGDDEFFXXX",
                           debtor=[old_address("DE", "Industriestraße 12a", "70565 Stuttgart")])
    second_txs = [
        transfer_tx(v, "9800.00", "Präzisionsteile Bern AG", "CH7809000000012345678",
                    bic="POFICHBEXXX", e2e="BE-2031-77", ptype=payment_type(category="SUPP"),
                    creditor=[old_address("CH", "Laupenstrasse 18", "3008 Bern")],
                    remittance=unstructured("Auftrag 2031-77, Frästeile")),
        transfer_tx(v, "3120.55", "Jürgen Weiß", "DE97701500000000123456", e2e="LOHN-2031-03-17",
                    ptype=payment_type(category="SALA"),
                    ultimate_debtor=party("UltmtDbtr", "Muster Personal GmbH"),
                    purpose="SALA", remittance=unstructured("Lohn März 2031")),
    ]
    return document(v, "MMB-2031-03-0002", initiator,
                    [("MMB-2031-03-0002-1", "true", first, first_txs),
                     ("MMB-2031-03-0002-2", "false", second, second_txs)])


# The creditor of the debit files.
CREDITOR = "Stadtwerke Musterstadt GmbH"
CREDITOR_ID = "DE98ZZZ09999999999"


def debit_tx(version, value, name, iban, mandate, signed, *, bic=None, instr=None,
             e2e="NOTPROVIDED", amendment=None, scheme_id=None, ultimate_creditor=None,
             debtor=(), ultimate=None, purpose=None, remittance=None):
    related = E("MndtRltdInf", E("MndtId", mandate), E("DtOfSgntr", signed),
                E("AmdmntInd", "true") if amendment else None,
                E("AmdmntInfDtls", *amendment) if amendment else None)
    return E("DrctDbtTxInf",
             E("PmtId", E("InstrId", instr) if instr else None, E("EndToEndId", e2e)),
             amount(version, value, True), E("DrctDbtTx", related, scheme_id), ultimate_creditor,
             agent(version, "DbtrAgt", bic),
             party("Dbtr", name, *debtor), account("DbtrAcct", iban), ultimate,
             E("Purp", E("Cd", purpose)) if purpose else None, remittance)


def debit_head(version, date, ptype, *, creditor=(), ultimate=None, scheme_id=True,
               iban="DE89370400440532013000", bic="COBADEFFXXX"):
    return [ptype, E("ReqdColltnDt", date), party("Cdtr", CREDITOR, *creditor),
            account("CdtrAcct", iban), agent(version, "CdtrAgt", bic), ultimate,
            E("ChrgBr", "SLEV"), creditor_id(CREDITOR_ID) if scheme_id else None]


def new_debtor_bank(version):
    """The marker for a mandate whose debtor moved to another bank."""
    if version in ("pain.008.001.02", "pain.008.001.08"):
        return E("OrgnlDbtrAcct", E("Id", E("Othr", E("Id", "SMNDA"))))
    return E("OrgnlDbtrAgt", E("FinInstnId", E("Othr", E("Id", "SMNDA"))))


def debits_current():
    v = "pain.008.001.08"
    initiator = party("InitgPty", BUREAU, org_lei("391200EEGLNXBBCVKC73"))
    works = address(StrtNm="Am Wasserwerk", BldgNb="1", PstCd="12345", TwnNm="Musterstadt",
                    Ctry="DE")
    first = debit_head(
        v, "2031-03-17", payment_type(local="CORE", sequence="FRST", category="OTHR"),
        creditor=[works],
        ultimate=party("UltmtCdtr", "Musterstadt Bäderbetriebe GmbH",
                       address("Hallenbad Nord", TwnNm="Musterstadt", PstCd="12347", Ctry="DE"),
                       org_other("HRB 4711", proprietary="HANDELSREGISTER",
                                 issuer="Amtsgericht Musterstadt")))
    first_txs = [
        debit_tx(v, "84.00", "Hans Müller", "DE77100100100123456789", "MANDAT-0001",
                 "2024-05-17", bic="PBNKDEFFXXX", instr="LS-2031-03-0001",
                 e2e="STROM-2031-03-0001",
                 amendment=[E("OrgnlMndtId", "ALT-MANDAT-0001"),
                            creditor_id("DE32ZZZ00000123456", "OrgnlCdtrSchmeId",
                                        "Stadtwerke Altstadt GmbH")],
                 debtor=[address(StrtNm="Lindenweg", BldgNb="3", PstCd="12345",
                                 TwnNm="Musterstadt", Ctry="DE")],
                 ultimate=party("UltmtDbtr", "Lena Müller",
                                address(StrtNm="Lindenweg", BldgNb="3", PstCd="12345",
                                        TwnNm="Musterstadt", Ctry="DE"),
                                private_other("VN-2031-0042", proprietary="VERTRAGSNUMMER")),
                 purpose="ELEC", remittance=creditor_reference("RF302030INV0815", "ISO")),
        debit_tx(v, "61.50", "Anna Schäfer", "DE48430609674011223300", "MANDAT-0002",
                 "2025-01-08", e2e="GAS-2031-03-0002",
                 amendment=[E("OrgnlCdtrSchmeId", E("Nm", "Gasversorgung Musterstadt GmbH")),
                            account("OrgnlDbtrAcct", "DE34200505501234567890")],
                 debtor=[address("Wohnung 4 links", TwnNm="Musterstadt", Ctry="DE")],
                 remittance=unstructured("Abschlag Gas März 2031")),
        debit_tx(v, "45.25", "Beat Zürcher", "CH7809000000012345678", "MANDAT-0004",
                 "2025-06-02", bic="POFICHBEXXX", e2e="STROM-2031-03-0004",
                 amendment=[new_debtor_bank(v)],
                 debtor=[address(StrtNm="Bahnhofstrasse", BldgNb="12", PstCd="8001",
                                 TwnNm="Zürich", Ctry="CH")],
                 remittance=unstructured("Ferienwohnung Strom")),
    ]
    second = debit_head(v, "2031-03-17", payment_type(local="CORE", sequence="RCUR"),
                        creditor=[works], scheme_id=False)
    second_txs = [
        debit_tx(v, "120.00", "Familie Öztürk", "DE34200505501234567890", "MANDAT-0003",
                 "2023-11-30", e2e="WASSER-2031-Q1", scheme_id=creditor_id(CREDITOR_ID),
                 ultimate_creditor=party("UltmtCdtr", "Abwasserzweckverband Musterstadt"),
                 purpose="WTER", remittance=unstructured("Wasser und Abwasser 1. Quartal 2031")),
        debit_tx(v, "18.90", "Paul Becker", "DE97701500000000123456", "MANDAT-0005",
                 "2022-02-14", instr="LS-2031-03-0005", e2e="BAD-2031-03-0005",
                 scheme_id=creditor_id(CREDITOR_ID),
                 remittance=unstructured("Schwimmbad Jahreskarte Rate 3")),
    ]
    return document(v, "STW-2031-03-0101", initiator,
                    [("STW-2031-03-0101-1", "true", first, first_txs),
                     ("STW-2031-03-0101-2", "false", second, second_txs)])


def debits_b2b_current():
    v = "pain.008.001.08"
    head = debit_head(v, "2031-03-20", payment_type(local="B2B", sequence="OOFF"),
                      creditor=[address("Kundencenter", StrtNm="Am Wasserwerk", BldgNb="1",
                                        PstCd="12345", TwnNm="Musterstadt", Ctry="DE")])
    txs = [
        debit_tx(v, "312.40", "Bäckerei Schmidt OHG", "DE38600501010007654321", "B2B-2026-17",
                 "2026-02-01", bic="SOLADEST600", e2e="FERNWAERME-2031-03",
                 debtor=[address("Backstube Hof", StrtNm="Marktplatz", BldgNb="5",
                                 PstCd="70173", TwnNm="Stuttgart", Ctry="DE"),
                         org_bic(v, "BSCHDEFFXXX")],
                 ultimate=party("UltmtDbtr", "Schmidt Filialen GmbH",
                                org_lei("5299000J2N45DDNE4Y28")),
                 remittance=unstructured("Fernwärme März 2031 Vertrag 88-1024")),
        debit_tx(v, "1904.00", "Bakkerij de Molen B.V.", "NL91ABNA0417164300", "B2B-2025-03",
                 "2025-06-30", bic="ABNANL2AXXX", e2e="GEWERBE-2031-03",
                 debtor=[address(StrtNm="Molenstraat", BldgNb="8", PstCd="1011 AB",
                                 TwnNm="Amsterdam", Ctry="NL"),
                         org_other("NL123456789B01", code="TXID")],
                 remittance=creditor_reference("RF46RECHNUNG2030042")),
    ]
    return document(v, "STW-2031-03-0102", party("InitgPty", CREDITOR),
                    [("STW-2031-03-0102-1", None, head, txs)])


def debits_old(v, local, sequences):
    initiator = party("InitgPty", BUREAU, org_other("RZN-000815", proprietary="KUNDENNUMMER"))
    works = [old_address("DE", "Am Wasserwerk 1", "12345 Musterstadt")]
    first = debit_head(v, "2031-03-17", payment_type(local=local, sequence=sequences[0],
                                                     category="OTHR"),
                       creditor=works,
                       ultimate=party("UltmtCdtr", "Musterstadt Bäderbetriebe GmbH",
                                      org_bic(v, "MUSTDEFFXXX")))
    first_txs = [
        debit_tx(v, "84.00", "Hans Müller", "DE77100100100123456789", "MANDAT-0001",
                 "2024-05-17", bic="PBNKDEFFXXX", instr="LS-2031-03-0001",
                 e2e="STROM-2031-03-0001",
                 amendment=[E("OrgnlMndtId", "ALT-MANDAT-0001"),
                            creditor_id("DE32ZZZ00000123456", "OrgnlCdtrSchmeId",
                                        "Stadtwerke Altstadt GmbH")],
                 ultimate=party("UltmtDbtr", "Lena Müller",
                                private_other("VN-2031-0042", proprietary="VERTRAGSNUMMER")),
                 purpose="ELEC", remittance=creditor_reference("RF302030INV0815", "ISO")),
        debit_tx(v, "61.50", "Anna Schäfer", "DE48430609674011223300", "MANDAT-0002",
                 "2025-01-08", bic="GENODEM1GLS", e2e="GAS-2031-03-0002",
                 amendment=[new_debtor_bank(v)],
                 remittance=unstructured("Abschlag Gas März 2031")),
        debit_tx(v, "45.25", "Beat Zürcher", "CH7809000000012345678", "MANDAT-0004",
                 "2025-06-02", bic="POFICHBEXXX", e2e="STROM-2031-03-0004",
                 debtor=[old_address("CH", "Bahnhofstrasse 12", "8001 Zürich")],
                 remittance=unstructured("Ferienwohnung Strom")),
    ]
    orgnl_account = (E("OrgnlDbtrAcct", E("Id", E("IBAN", "DE34200505501234567890"))))
    second = debit_head(v, "2031-03-24", payment_type(local=local, sequence=sequences[1]),
                        creditor=works, scheme_id=False)
    second_txs = [
        debit_tx(v, "120.00", "Familie Öztürk", "DE75120300001020304050", "MANDAT-0003",
                 "2023-11-30", bic="BYLADEM1001", e2e="WASSER-2031-Q1",
                 amendment=[orgnl_account], scheme_id=creditor_id(CREDITOR_ID),
                 ultimate_creditor=party("UltmtCdtr", "Abwasserzweckverband Musterstadt"),
                 purpose="WTER", remittance=unstructured("Wasser und Abwasser 1. Quartal 2031")),
    ]
    tag = v.replace("pain.", "").replace(".", "")
    return document(v, f"STW-2031-03-{tag}", initiator,
                    [(f"STW-2031-03-{tag}-1", "true", first, first_txs),
                     (f"STW-2031-03-{tag}-2", "false", second, second_txs)])


# --- Refused files: one small valid document, one rule broken ---------------------

def one_transfer(creditor=(), remittance=None):
    v = "pain.001.001.09"
    head = transfer_head(v, "2031-03-14", payment_type(), "DE89370400440532013000",
                         "COBADEFFXXX")
    tx = transfer_tx(v, "250.00", "Schrauben Schulz KG", "DE77100100100123456789",
                     e2e="RE-2031-0900", creditor=creditor,
                     remittance=remittance or unstructured("Rechnung 2031-0900"))
    return document(v, "MMB-2031-03-0900", party("InitgPty", COMPANY),
                    [("MMB-2031-03-0900-1", None, head, [tx])])


def one_debit(local="CORE", block_id=True, tx_id=None, debtor=(), iban="DE77100100100123456789",
              bic=None):
    v = "pain.008.001.08"
    head = debit_head(v, "2031-03-17", payment_type(local=local, sequence="RCUR"),
                      scheme_id=block_id)
    tx = debit_tx(v, "84.00", "Hans Müller", iban, "MANDAT-0001", "2024-05-17", bic=bic,
                  e2e="STROM-2031-03-0900", scheme_id=creditor_id(tx_id) if tx_id else None,
                  debtor=debtor, remittance=unstructured("Abschlag Strom März 2031"))
    return document(v, "STW-2031-03-0900", party("InitgPty", CREDITOR),
                    [("STW-2031-03-0900-1", None, head, [tx])])


def files():
    """name: (xml, covers or None, refusal reason, German fragment of the message)"""
    read = {
        "hand-transfers-001-001-09": (transfers_current(), [
            "initiating party with name and Othr id (scheme, issuer)",
            "three blocks: one company, two accounts; BtchBookg true / false / none",
            "payment type at block level (CtgyPurp SUPP; LclInstrm INST) and per transaction "
            "(CtgyPurp SALA, PENS)",
            "structured addresses with every PostalAddress24 field but AdrTp, hybrid addresses",
            "ultimate debtor at block and transaction level, ultimate creditor",
            "ids: LEI, AnyBIC, Othr with Cd or Prtry and Issr, private Othr",
            "InstrId, EndToEndId, UETR, purpose codes, SCOR reference with and without Issr, "
            "Ustrd of 140 characters", "Swiss creditor with address and BIC"]),
        "hand-transfers-001-003-03": (transfers_old("pain.001.003.03"), [
            "the same in the older schema: BICOrBEI, Ctry + AdrLine addresses, no UETR/LEI/INST"]),
        "hand-transfers-001-001-03": (transfers_old("pain.001.001.03"), [
            "the same in pain.001.001.03"]),
        "hand-debits-008-001-08": (debits_current(), [
            "initiating party with LEI", "CORE FRST block with CdtrSchmeId, CtgyPurp, "
            "ultimate creditor; CORE RCUR block with CdtrSchmeId per transaction",
            "amendments: OrgnlMndtId + OrgnlCdtrSchmeId (Nm, Id); OrgnlCdtrSchmeId (Nm) + "
            "OrgnlDbtrAcct; OrgnlDbtrAcct Othr SMNDA", "structured and hybrid debtor addresses, "
            "ultimate debtor with address and private id", "Swiss debtor with address",
            "InstrId, purpose, SCOR reference, ultimate creditor per transaction"]),
        "hand-debits-b2b-008-001-08": (debits_b2b_current(), [
            "B2B OOFF, no BtchBookg, creditor is the initiating party",
            "hybrid addresses, debtor ids AnyBIC and Othr TXID, ultimate debtor with LEI",
            "Dutch debtor"]),
        "hand-debits-008-003-02": (debits_old("pain.008.003.02", "CORE", ("FRST", "RCUR")), [
            "CORE FRST / RCUR blocks, CdtrSchmeId at block and at transaction level",
            "amendments: OrgnlMndtId + OrgnlCdtrSchmeId, OrgnlDbtrAgt SMNDA, OrgnlDbtrAcct IBAN",
            "Ctry + AdrLine address of a Swiss debtor, ultimate parties, purpose, SCOR"]),
        "hand-debits-008-001-02": (debits_old("pain.008.001.02", "B2B", ("OOFF", "FNAL")), [
            "B2B OOFF / FNAL blocks; the amendment of a new debtor bank as OrgnlDbtrAcct "
            "Othr SMNDA, as this schema has it"]),
    }
    refused = {
        "refused-address-lines-only": (one_transfer(creditor=[address(
            "Hafenstraße 7", "20457 Hamburg", Ctry="DE")]),
            "the creditor's address is country and AdrLine only, in a current version",
            "Adresszeilen"),
        "refused-address-without-town": (one_transfer(creditor=[address(
            StrtNm="Hafenstraße", BldgNb="7", PstCd="20457", Ctry="DE")]),
            "the creditor's structured address has no TwnNm", "der Ort"),
        "refused-creditor-reference-check-digits": (one_transfer(
            remittance=creditor_reference("RF19539007547034")),
            "the RF creditor reference has wrong check digits (RF18 is right)",
            "Gläubigerreferenz"),
        "refused-debit-inst": (one_debit(local="INST"),
                               "a direct debit with local instrument INST", "INST"),
        "refused-creditor-ids-differ": (one_debit(tx_id="DE32ZZZ00000123456"),
            "CdtrSchmeId at block level DE98ZZZ09999999999, at transaction level "
            "DE32ZZZ00000123456", "Gläubiger-Identifikationsnummer"),
        "refused-swiss-debtor-without-address": (one_debit(
            iban="CH7809000000012345678", bic="POFICHBEXXX"),
            "a debtor account in Switzerland (outside the EEA) without the debtor's address",
            "Anschrift"),
    }
    out = {}
    for name, (xml, covers) in read.items():
        out[name] = (xml, {"producer": PRODUCER, "options": {"covers": covers},
                           "verdict": "read"})
    for name, (xml, reason, mentions) in refused.items():
        out[name] = (xml, {"producer": PRODUCER, "options": {}, "verdict": "refused",
                           "reason": reason, "stderr_mentions": mentions})
    return out


def main(args):
    check = args == ["--check"]
    stale = []
    for name, (xml, stub) in files().items():
        xml_path, json_path = HERE / f"{name}.xml", HERE / f"{name}.json"
        if check:
            written = json.loads(json_path.read_text(encoding="utf-8")) \
                if json_path.exists() else {}
            written.pop("content", None)
            if not xml_path.exists() or xml_path.read_text(encoding="utf-8") != xml \
                    or written != stub:
                stale.append(name)
            continue
        xml_path.write_text(xml, encoding="utf-8")
        json_path.write_text(json.dumps(stub, ensure_ascii=False, indent=2) + "\n",
                             encoding="utf-8")
    for name in stale:
        print(f"{name}: nicht aus make_handmade.py; tests/sepa/corpus/make_corpus.sh ausführen")
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
