// Compares tests/data/dtazv/ibans.txt with an independent IBAN validator.
// Not part of the build. Run it where the validator is installed, e.g.
//   mkdir -p /tmp/ibancheck && cd /tmp/ibancheck && npm install ibantools
//   NODE_PATH=/tmp/ibancheck/node_modules node <repo>/tests/dtazv/ibans/cross_check.js
// "ok" must pass both, "bad" fail both, "lax" pass ours only (the validator
// also checks country formats and lengths, which we leave to the bank).
'use strict';
const fs = require('fs');
const path = require('path');
const ibantools = require('ibantools');

const table = path.join(__dirname, '..', '..', 'data', 'dtazv', 'ibans.txt');

// Our rule, written again with big integers instead of 32-bit pieces.
function ours(iban) {
  if (iban.length < 5 || iban.length > 34 || !/^[A-Za-z0-9]+$/.test(iban)) return false;
  const up = iban.toUpperCase();
  const digits = (up.slice(4) + up.slice(0, 4)).replace(/[A-Z]/g, (c) => String(c.charCodeAt(0) - 55));
  return BigInt(digits) % 97n === 1n;
}

const expected = { ok: [true, true], bad: [false, false], lax: [true, false] };
let passed = 0;
let failed = 0;
for (const line of fs.readFileSync(table, 'utf8').split('\n')) {
  if (line.trim() === '' || line.startsWith('#')) continue;
  const [verdict, iban] = line.trim().split(/\s+/);
  const want = expected[verdict];
  const got = [ours(iban), ibantools.isValidIBAN(iban)];
  if (want && got[0] === want[0] && got[1] === want[1]) {
    passed++;
  } else {
    failed++;
    console.log(`${verdict} ${iban}: ours ${got[0]}, ibantools ${got[1]}`);
  }
}
const main = require.resolve('ibantools');
const pkg = JSON.parse(fs.readFileSync(path.join(main.slice(0, main.lastIndexOf('node_modules')),
  'node_modules', 'ibantools', 'package.json'), 'utf8'));
console.log(`checked against ${pkg.name} ${pkg.version}`);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 && passed > 0 ? 0 : 1);
