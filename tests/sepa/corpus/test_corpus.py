#!/usr/bin/env python3
"""Checks the SEPA corpus in tests/data/sepa-corpus (each X.xml with its X.json).

    test_corpus.py schemas XSD_DIR   every file is valid against its official schema
    test_corpus.py content           each file's content is its json's "content", and a
                                     generated file holds every option asked of its
                                     generator
    test_corpus.py tool ZORDTA       `zordta sepa read` reads each "read" file, and
                                     `sepa write` writes its job back to the same
                                     content (CreDtTm aside); it refuses each "refused"
                                     file naming the reason (the json's
                                     "stderr_mentions")

The tool's check holds to PENDING, the files it does not yet pass: one failing
there is expected, one passing there fails the test until it leaves the list.
"""

import json
import subprocess
import sys
import tempfile
from decimal import Decimal
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
import content as flattener  # noqa: E402

CORPUS = Path(__file__).resolve().parents[2] / "data" / "sepa-corpus"

# Files `zordta sepa read` / `sepa write` do not yet get through, each with what
# it says; none today.
PENDING = {}


def corpus():
    for xml_path in sorted(CORPUS.glob("*.xml")):
        with open(xml_path.with_suffix(".json"), encoding="utf-8") as f:
            yield xml_path, json.load(f)


# --- schemas ----------------------------------------------------------------------

def check_schemas(schema_dir):
    problems = []
    for xml_path, _ in corpus():
        version = flattener.content(xml_path)["version"]
        run = subprocess.run(["xmllint", "--noout", "--schema",
                              str(Path(schema_dir) / f"{version}.xsd"), str(xml_path)],
                             capture_output=True, text=True)
        if run.returncode != 0:
            problems.append(f"{xml_path.name}: nicht schemagültig:\n{run.stderr.strip()}")
    return problems


# --- content and options ----------------------------------------------------------

def split_key(key):
    """"dst[1].addr.line2" -> (1, "dst.addr.line2"); keys without index -> (0, key)."""
    if "[" not in key:
        return 0, key
    head, rest = key.split("[", 1)
    index, tail = rest.split("]", 1)
    return int(index), head + tail


def option_problems(name, record, found):
    """Each generator option against where the generator was to put it."""
    options = record["options"]
    debit = found["version"].startswith("pain.008")
    header = found["header"]
    block = found["blocks"][0]["fields"]
    txs = found["blocks"][0]["transactions"]
    own, other = ("Cdtr", "Dbtr") if debit else ("Dbtr", "Cdtr")
    problems = []

    def expect(where, path, want, got_from):
        got = got_from.get(path)
        if got != want:
            problems.append(f"{name}: {where} {path} ist {got!r}, verlangt war {want!r}")

    def bic(where, fields, prefix, value):
        path = next((p for p in (f"{prefix}/FinInstnId/BICFI", f"{prefix}/FinInstnId/BIC")
                     if p in fields), f"{prefix}/FinInstnId/BIC")
        expect(where, path, value, fields)

    indices = {split_key(key)[0] for key in options}
    if len(txs) != len(indices) or len(found["blocks"]) != 1:
        problems.append(f"{name}: {len(txs)} Zahlungen in {len(found['blocks'])} Blöcken, "
                        f"verlangt waren {len(indices)} in einem")
        return problems
    if "src.bic" not in options:
        expect("Block", f"{own}Agt/FinInstnId/Othr/Id", "NOTPROVIDED", block)
    for key, value in sorted(options.items()):
        index, base = split_key(key)
        tx, where = txs[index], f"Zahlung {index + 1}"
        amount = "InstdAmt" if debit else "Amt/InstdAmt"
        if base == "sepaid":
            expect("GrpHdr", "MsgId", value, header)
        elif base == "pmtinfid":
            expect("Block", "PmtInfId", value, block)
        elif base == "src.name":
            expect("GrpHdr", "InitgPty/Nm", value, header)
            expect("Block", f"{own}/Nm", value, block)
        elif base == "src.iban":
            expect("Block", f"{own}Acct/Id/IBAN", value, block)
        elif base == "src.bic":
            bic("Block", block, f"{own}Agt", value)
        elif base == "date":
            expect("Block", "ReqdExctnDt/Dt" if "ReqdExctnDt/Dt" in block else "ReqdExctnDt",
                   value, block)
        elif base == "targetdate":
            expect("Block", "ReqdColltnDt", value, block)
        elif base == "batchbook":
            expect("Block", "BtchBookg", "true" if value == "1" else "false", block)
        elif base == "type":
            expect("Block", "PmtTpInf/LclInstrm/Cd", value, block)
        elif base == "sequencetype":
            expect("Block", "PmtTpInf/SeqTp", value, block)
        elif base == "endtoendid":
            expect(where, "PmtId/EndToEndId", value, tx)
        elif base == "dst.name":
            expect(where, f"{other}/Nm", value, tx)
        elif base == "dst.iban":
            expect(where, f"{other}Acct/Id/IBAN", value, tx)
        elif base == "dst.bic":
            bic(where, tx, f"{other}Agt", value)
        elif base == "btg.value":
            if Decimal(tx.get(amount, "NaN")) != Decimal(value):
                problems.append(f"{name}: {where} {amount} ist {tx.get(amount)!r}, "
                                f"verlangt war {value}")
        elif base == "btg.curr":
            expect(where, f"{amount}@Ccy", value, tx)
        elif base == "usage":
            expect(where, "RmtInf/Ustrd", [value], tx)
        elif base == "purposecode":
            expect(where, "Purp/Cd", value, tx)
        elif base == "creditorid":
            expect(where, "DrctDbtTx/CdtrSchmeId/Id/PrvtId/Othr/Id", value, tx)
        elif base == "mandateid":
            expect(where, "DrctDbtTx/MndtRltdInf/MndtId", value, tx)
        elif base == "manddateofsig":
            expect(where, "DrctDbtTx/MndtRltdInf/DtOfSgntr", value, tx)
        elif base == "amendmandindic":
            expect(where, "DrctDbtTx/MndtRltdInf/AmdmntInd", value, tx)
            marked = [path for path, text in tx.items()
                      if "/AmdmntInfDtls/" in path and text == "SMNDA"]
            if (value == "true") != bool(marked):
                problems.append(f"{name}: {where} AmdmntInfDtls mit SMNDA: {marked}, "
                                f"verlangt war amendmandindic {value}")
        elif base == "dst.addr.country":
            expect(where, f"{other}/PstlAdr/Ctry", value, tx)
        elif base in ("dst.addr.line1", "dst.addr.line2"):
            lines = tx.get(f"{other}/PstlAdr/AdrLine", [])
            line = int(base[-1]) - 1
            if len(lines) <= line or lines[line] != value:
                problems.append(f"{name}: {where} AdrLine {line + 1} fehlt oder ist nicht "
                                f"{value!r}: {lines}")
        else:
            problems.append(f"{name}: Option {key} kennt der Test nicht")
    for index, tx in enumerate(txs):
        if f"endtoendid[{index}]" not in options and "endtoendid" not in options:
            expect(f"Zahlung {index + 1}", "PmtId/EndToEndId", "NOTPROVIDED", tx)
    return problems


def check_content():
    problems = []
    for xml_path, record in corpus():
        found = flattener.content(xml_path)
        if found != record.get("content"):
            problems.append(f"{xml_path.name}: der Inhalt weicht von \"content\" in "
                            f"{xml_path.with_suffix('.json').name} ab")
        if record["verdict"] not in ("read", "refused") or \
                (record["verdict"] == "refused") != ("stderr_mentions" in record):
            problems.append(f"{xml_path.name}: verdict/stderr_mentions passen nicht")
        if record["producer"].startswith("org.kapott."):
            problems += option_problems(xml_path.name, record, found)
    return problems


# --- the tool ---------------------------------------------------------------------

def without_creation_time(found):
    found["header"].pop("CreDtTm", None)
    return found


# What the writer states where another producer left it to the default: the
# scheme name of a creditor identifier (always SEPA) and the charge bearer SLEV.
COMPLETIONS = (("CdtrSchmeId/Id/PrvtId/Othr/SchmeNm/Prtry", "SEPA"), ("ChrgBr", "SLEV"))


def without_completions(want, got):
    """`got` without what the writer added to `want` by COMPLETIONS."""
    def strip(fields_want, fields_got):
        for path in list(fields_got):
            if path not in fields_want and any(
                    path.endswith(end) and fields_got[path] == value for end, value in COMPLETIONS):
                del fields_got[path]
    for block_want, block_got in zip(want["blocks"], got["blocks"]):
        strip(block_want["fields"], block_got["fields"])
        for tx_want, tx_got in zip(block_want["transactions"], block_got["transactions"]):
            strip(tx_want, tx_got)
    return got


def differences(want, got):
    """A few paths where two contents differ, for the message."""
    def flat(found):
        out = {"version": found["version"]}
        out.update({f"GrpHdr/{k}": v for k, v in found["header"].items()})
        for b, block in enumerate(found["blocks"], 1):
            out.update({f"PmtInf[{b}]/{k}": v for k, v in block["fields"].items()})
            for t, tx in enumerate(block["transactions"], 1):
                out.update({f"PmtInf[{b}]/Tx[{t}]/{k}": v for k, v in tx.items()})
        return out
    a, b = flat(want), flat(got)
    return [f"{k}: {a.get(k)!r} -> {b.get(k)!r}" for k in sorted(set(a) | set(b))
            if a.get(k) != b.get(k)][:4]


def tool_outcome(zordta, xml_path, record, work):
    """None when the tool does what the json says, else what it does instead."""
    run = subprocess.run([zordta, "sepa", "read", str(xml_path)], capture_output=True,
                         text=True)
    if record["verdict"] == "refused":
        if run.returncode == 0:
            return "gelesen statt abgelehnt"
        if record["stderr_mentions"] not in run.stderr:
            return f"abgelehnt ohne „{record['stderr_mentions']}“: {run.stderr.strip()}"
        return None
    if run.returncode != 0:
        return f"nicht gelesen: {run.stderr.strip()}"
    job = work / f"{xml_path.stem}.job.json"
    job.write_text(run.stdout, encoding="utf-8")
    written = work / f"{xml_path.stem}.xml"
    run = subprocess.run([zordta, "sepa", "write", "--job", str(job), "--dateiname",
                          written.name, "--verzeichnis", str(work), "--overwrite"],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return f"nicht wieder geschrieben: {run.stderr.strip()}"
    want = without_creation_time(flattener.content(xml_path))
    got = without_completions(want, without_creation_time(flattener.content(written)))
    if want != got:
        return "anders wieder geschrieben: " + "; ".join(differences(want, got))
    return None


def check_tool(zordta):
    problems = []
    names = set()
    with tempfile.TemporaryDirectory() as work:
        for xml_path, record in corpus():
            name = xml_path.stem
            names.add(name)
            outcome = tool_outcome(zordta, xml_path, record, Path(work))
            if name in PENDING:
                if outcome is None:
                    problems.append(f"{name}: geht jetzt durch; aus PENDING nehmen")
                else:
                    print(f"{name}: noch offen ({PENDING[name]}): {outcome}")
            elif outcome is not None:
                problems.append(f"{name}: {outcome}")
    problems += [f"{name}: steht in PENDING, ist aber nicht im Korpus"
                 for name in sorted(set(PENDING) - names)]
    return problems


def main(args):
    if args[:1] == ["schemas"] and len(args) == 2:
        problems = check_schemas(args[1])
    elif args == ["content"]:
        problems = check_content()
    elif args[:1] == ["tool"] and len(args) == 2:
        problems = check_tool(args[1])
    else:
        sys.stderr.write(__doc__)
        return 2
    for problem in problems:
        print(problem)
    count = sum(1 for _ in corpus())
    print(f"{args[0]}: {count} Dateien, {len(problems)} Fehler")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
