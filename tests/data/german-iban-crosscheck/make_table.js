// Builds ibans.csv: bank codes and accounts with the German IBAN that an
// independent library from npm (iban) makes of them under the standard rule.
// The library's test makes a bank-code file of these bank codes (standard rule)
// and must answer the same IBAN on every row; CI needs neither node nor npm.
//
// Run make_table.sh (it installs the library into a temporary folder).
'use strict';
const fs = require('fs');
const path = require('path');
const IBAN = require('iban');

// A fixed seed: the same table on every run with the same library.
let seed = 20260412;
function Random(n) {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return Math.floor((seed / 2147483648) * n);
}
function Digits(count) {
  let s = '';
  for (let i = 0; i < count; i++) s += String(Random(10));
  return s;
}

const rows = [];
for (let i = 0; i < 300; i++) {
  // Bank codes never begin with 0 or 9.
  const bankCode = String(1 + Random(8)) + Digits(7);
  // 1 to 10 digits; every fifth account is written with leading zeros.
  const length = 1 + Random(10);
  let account = String(1 + Random(9)) + Digits(length - 1);
  if (i % 5 === 0 && account.length < 10) account = '0'.repeat(1 + Random(10 - account.length)) + account;
  const iban = IBAN.fromBBAN('DE', bankCode + account.padStart(10, '0'));
  if (!IBAN.isValid(iban)) throw new Error(`npm made an invalid IBAN: ${iban}`);
  rows.push(`${bankCode},${account},${iban}`);
}

const version = require(path.join(path.dirname(require.resolve('iban')), 'package.json')).version;
const out = [`# made by make_table.sh with iban ${version} (npm): IBAN.fromBBAN('DE', bank code + account padded to 10 digits)`,
  'blz,konto,iban', ...rows];
fs.writeFileSync(path.join(__dirname, 'ibans.csv'), out.join('\n') + '\n');
console.log(`${rows.length} rows with iban ${version}`);
