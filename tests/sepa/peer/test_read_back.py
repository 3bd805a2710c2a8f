#!/usr/bin/env python3
"""read_back.py must never pass a file that differs from what was meant."""

import json
import os
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import read_back  # noqa: E402

CLASSES = os.environ["ZORDTA_SEPA_PEER_CLASSES"]
SAMPLE = HERE / "samples" / "pain.008.001.08.xml"
EXPECTED = json.loads((HERE / "samples" / "pain.008.001.08.json").read_text(encoding="utf-8"))


class ReadBack(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def write(self, name, text):
        path = Path(self.folder.name) / name
        path.write_text(text, encoding="utf-8")
        return path

    def check(self, xml_text, expected):
        pain = self.write("pain.xml", xml_text)
        wanted = self.write("expected.json", json.dumps(expected))
        return read_back.check_file(pain, wanted, CLASSES, self.folder.name)

    def test_every_difference_is_reported(self):
        expected = json.loads(json.dumps(EXPECTED))
        expected[0]["amount"] = "120.01"
        expected[0]["party_name"] = "Juergen Weiss"
        del expected[1]["mandate_id"]
        expected[1]["purpose_code"] = "CHAR"
        expected.pop()
        problems = read_back.check_file(SAMPLE, self.write("e.json", json.dumps(expected)),
                                        CLASSES, self.folder.name)
        self.assertEqual(sorted(problems), sorted([
            "2 Zahlungen erwartet, 3 gelesen",
            "Zahlung 1: amount 120.00, erwartet 120.01",
            "Zahlung 1: party_name 'Jürgen Weiß', erwartet 'Juergen Weiss'",
            "Zahlung 2: purpose_code fehlt (erwartet 'CHAR')",
            "Zahlung 2: mandate_id unerwartet ('MANDAT-0043')",
        ]))

    def test_amounts_beyond_the_cent_never_match(self):
        self.assertTrue(read_back.same_amount("1200.50", "1200.5"))
        self.assertFalse(read_back.same_amount("1200.50", "1200.500001"))
        self.assertFalse(read_back.same_amount("1200.50", "1200.501"))
        self.assertFalse(read_back.same_amount("1200.50", None))

    def test_wrong_control_figures_are_reported(self):
        text = SAMPLE.read_text(encoding="utf-8")
        text = text.replace("<CtrlSum>134.07</CtrlSum>", "<CtrlSum>134.70</CtrlSum>")
        text = text.replace("<NbOfTxs>3</NbOfTxs>", "<NbOfTxs>2</NbOfTxs>")
        self.assertEqual(self.check(text, EXPECTED), [
            "PmtInf 1: CtrlSum 134.70, aber Summe 134.07",
            "GrpHdr: NbOfTxs 2, aber 3 Zahlungen",
        ])

    def test_a_file_off_its_schema_is_refused(self):
        # The parser skips elements it does not know; only the schema sees them.
        text = SAMPLE.read_text(encoding="utf-8").replace("MndtId>", "MandatId>")
        problems = self.check(text, EXPECTED)
        self.assertTrue(problems[0].startswith("nicht schemagültig:"), problems)

    def test_files_the_peer_cannot_read_fail(self):
        text = SAMPLE.read_text(encoding="utf-8")
        cases = {
            "cut off": text[: len(text) // 2],
            "unknown version": text.replace("pain.008.001.08", "pain.008.001.99"),
            "no payments": "<Document xmlns='urn:iso:std:iso:20022:tech:xsd:pain.008.001.08'/>",
        }
        for name, broken in cases.items():
            with self.subTest(name):
                transactions, error = read_back.read_with_peer(self.write("x.xml", broken), CLASSES)
                self.assertIsNone(transactions)
                self.assertIn("nicht lesbar", error)
                self.assertTrue(self.check(broken, EXPECTED))


if __name__ == "__main__":
    unittest.main()
