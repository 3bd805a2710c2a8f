// Builds ibans.csv: IBANs of every country of the IBAN registry, good and
// broken in the ways people break them, each with the verdict of an
// independent validator from npm (ibantools). The library's test reads the
// table and must agree on every row; CI needs neither node nor npm.
//
// Run make_table.sh (it installs the validator into a temporary folder), or
//   NODE_PATH=<folder>/node_modules node make_table.js
//
// The countries and BBAN formats come from the library's registry table
// (src/dtazv/IbanRegistry.cpp); the validator judges every row on its own, and
// every position of every country is probed with a letter and (where the
// registry allows a letter) a digit, so a wrong class in our table shows as a
// disagreement. Where the validator and the registry disagree, the registry
// wins: such rows carry a note and are allowed only when listed in kKnown below,
// so that a new disagreement stops the run instead of slipping into the table.
'use strict';
const fs = require('fs');
const path = require('path');
const ibantools = require('ibantools');

const repo = path.join(__dirname, '..', '..', '..');
const registrySource = fs.readFileSync(path.join(repo, 'src', 'dtazv', 'IbanRegistry.cpp'), 'utf8');
const registry = new Map();
for (const m of registrySource.matchAll(/\{"([A-Z]{2})", (\d+), "([0-9!nac]+)"\}/g)) {
  registry.set(m[1], { length: Number(m[2]), classes: Expand(m[3]) });
}
if (registry.size < 80) throw new Error(`only ${registry.size} countries read from the registry table`);

// Disagreements reviewed against the IBAN registry: country -> why the registry wins.
const kKnown = {
  national: 'npm checks the national check digits; the registry defines none',
  BY: 'registry BY 4!c4!n16!c: a digit may stand in the first four; npm wants letters',
  DO: 'registry DO 4!c20!n: a digit may stand in the first four; npm wants letters',
  GE: 'registry GE 2!a16!n: letters first; npm also takes digits',
  IE: 'registry IE 4!a6!n8!n: letters first; npm also takes digits',
  PK: 'registry PK 4!a16!c: letters first and letters in the account; npm takes digits first and wants only digits after',
  PS: 'registry PS 4!a21!c: letters first and letters in the account; npm takes digits first and wants only digits after',
  VG: 'registry VG 4!a16!n: letters first; npm also takes digits',
  TR: 'registry TR 5!n1!n16!c: a digit at the sixth place of the BBAN; npm also takes a letter',
  unknown: 'no country of the IBAN registry; npm takes it',
};

function Expand(format) {
  const classes = [];
  for (const m of format.matchAll(/(\d+)!([nac])/g)) {
    for (let i = 0; i < Number(m[1]); i++) classes.push(m[2]);
  }
  return classes;
}

// A fixed seed: the same table on every run with the same validator.
let seed = 20261209;
function Random(n) {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return Math.floor((seed / 2147483648) * n);
}
const kDigits = '0123456789';
const kCapitals = 'ABCDEFGHIJKLMNOPQRSTUVWXYZ';
function Pick(text) {
  return text[Random(text.length)];
}
function CharOf(kind) {
  if (kind === 'n') return Pick(kDigits);
  if (kind === 'a') return Pick(kCapitals);
  return Random(2) === 0 ? Pick(kDigits) : Pick(kCapitals);
}

function Mod97(text) {
  let rest = 0;
  for (const c of text) {
    const value = c >= '0' && c <= '9' ? c : String(c.charCodeAt(0) - 55);
    for (const d of value) rest = (rest * 10 + Number(d)) % 97;
  }
  return rest;
}
// The IBAN with check digits that make it pass MOD 97-10.
function Repaired(iban) {
  const rest = Mod97(iban.slice(4) + iban.slice(0, 2) + '00');
  return iban.slice(0, 2) + String(98 - rest).padStart(2, '0') + iban.slice(4);
}

// The registry's verdict, written again from its rules.
function RegistryValid(iban) {
  if (!/^[A-Z0-9]+$/.test(iban)) return false;
  const country = registry.get(iban.slice(0, 2));
  if (!country || iban.length !== country.length) return false;
  if (!/^[0-9]{2}$/.test(iban.slice(2, 4))) return false;
  for (let i = 4; i < iban.length; i++) {
    const kind = country.classes[i - 4];
    const c = iban[i];
    const digit = c >= '0' && c <= '9';
    if ((kind === 'n' && !digit) || (kind === 'a' && digit)) return false;
  }
  const check = Number(iban.slice(2, 4));
  const body = iban.slice(4) + iban.slice(0, 4);
  return check >= 2 && check <= 98 && Mod97(body) === 1;
}

function NpmValid(iban) {
  return ibantools.isValidIBAN(iban);
}
function OnlyNationalCheckFails(iban) {
  const result = ibantools.validateIBAN(iban);
  return result.errorCodes.length === 1 &&
    result.errorCodes[0] === ibantools.ValidationErrorsIBAN.WrongAccountBankBranchChecksum;
}

const rows = [];
const seen = new Set();
function Add(iban, kind) {
  if (seen.has(iban)) return;
  seen.add(iban);
  const npm = NpmValid(iban);
  const ours = RegistryValid(iban);
  let note = '';
  if (npm !== ours) {
    const country = iban.slice(0, 2);
    if (!registry.has(country)) note = kKnown.unknown;
    else if (OnlyNationalCheckFails(iban)) note = kKnown.national;
    else if (kKnown[country]) note = kKnown[country];
    else throw new Error(`unreviewed disagreement: ${iban} (${kind}): npm ${npm}, registry ${ours}`);
  }
  rows.push(`${iban},${npm ? 1 : 0},${kind},${note}`);
}

// A valid IBAN of the country that npm takes as well (a national check digit
// of its own is found by trying, and where npm is narrower than the registry,
// digits in place of c); null when none turns up.
function ValidIban(code, tries = 20000) {
  const classes = registry.get(code).classes;
  for (let t = 0; t < tries; t++) {
    const chars = classes.map((kind) => (t >= 100 && kind === 'c' ? Pick(kDigits) : CharOf(kind)));
    const iban = Repaired(code + '00' + chars.join(''));
    if (NpmValid(iban)) return iban;
  }
  return null;
}

// Replaces the character at `at` and repairs the check digits; when the
// registry takes the result but only npm's national check refuses it, other
// bases are tried, so such a row is kept only when nothing else is found.
function Probe(code, at, alphabet, kind) {
  let last = null;
  for (let t = 0; t < 5000; t++) {
    const base = t === 0 ? valid.get(code)[0] : ValidIban(code, 1) || valid.get(code)[0];
    const iban = Repaired(base.slice(0, at) + Pick(alphabet) + base.slice(at + 1));
    last = iban;
    if (!(RegistryValid(iban) && OnlyNationalCheckFails(iban))) break;
  }
  Add(last, kind);
}

const valid = new Map();
for (const code of registry.keys()) {
  const ibans = [];
  for (let i = 0; i < 3; i++) {
    const iban = ValidIban(code);
    if (!iban) throw new Error(`no valid IBAN for ${code}`);
    ibans.push(iban);
    Add(iban, 'valid');
  }
  valid.set(code, ibans);
}

for (const [code, ibans] of valid) {
  const [first, second, third] = ibans;
  // One character changed (no repair): the check digits must catch it.
  const at = 2 + Random(first.length - 2);
  const same = first[at] >= '0' && first[at] <= '9' ? kDigits : kCapitals;
  let other = first[at];
  while (other === first[at]) other = Pick(same);
  Add(first.slice(0, at) + other + first.slice(at + 1), 'changed');
  // Two neighbours swapped.
  for (let t = 0; t < 100; t++) {
    const i = 2 + Random(second.length - 3);
    if (second[i] === second[i + 1]) continue;
    Add(second.slice(0, i) + second[i + 1] + second[i] + second.slice(i + 2), 'transposed');
    break;
  }
  // One character more or less, the check digits repaired.
  Add(Repaired(third + Pick(kDigits)), 'length');
  Add(Repaired(third.slice(0, -1)), 'length');
  // Every place of the BBAN: a letter, and a digit where a letter may stand.
  const classes = registry.get(code).classes;
  for (let i = 0; i < classes.length; i++) {
    Probe(code, 4 + i, kCapitals, 'structure');
    if (classes[i] !== 'n') Probe(code, 4 + i, kDigits, 'structure');
  }
  // Check digits 00, 01 and 99 leave the remainder of 97, 98 and 02.
}
for (const [check, alias] of [['00', '97'], ['01', '98'], ['99', '02']]) {
  for (const code of ['DE', 'FR', 'GB', 'NO', 'MT']) {
    for (let t = 0; t < 100000; t++) {
      const iban = ValidIban(code, 1);
      if (iban && iban.slice(2, 4) === alias) {
        Add(iban.slice(0, 2) + check + iban.slice(4), 'checkdigits');
        break;
      }
    }
  }
}

// Countries npm knows that the registry does not, and codes nobody knows.
for (const code of Object.keys(ibantools.countrySpecs).sort()) {
  const spec = ibantools.countrySpecs[code];
  if (registry.has(code) || !spec.chars || !spec.bban_regexp) continue;
  const runs = [...spec.bban_regexp.matchAll(/\[([^\]]+)\]\{(\d+)\}/g)];
  for (let t = 0; t < 20000; t++) {
    let bban = '';
    for (const run of runs) {
      const kind = run[1] === '0-9' ? 'n' : run[1] === 'A-Z' ? 'a' : 'c';
      for (let i = 0; i < Number(run[2]); i++) bban += CharOf(kind);
    }
    const iban = Repaired(code + '00' + bban);
    if (NpmValid(iban)) {
      Add(iban, 'unknown');
      break;
    }
  }
}
for (const code of ['XX', 'AA', 'ZZ', 'QQ', 'US', 'CN', 'JP', 'CA', 'AU', 'IN']) {
  Add(Repaired(code + '00' + '370400440532013000'), 'unknown');
}
// Not A-Z and 0-9: small letters, blanks, signs.
const [de] = valid.get('DE');
const [gb] = valid.get('GB');
Add(de.toLowerCase(), 'characters');
Add(gb.slice(0, 4) + gb.slice(4, 8).toLowerCase() + gb.slice(8), 'characters');
Add(de.slice(0, 4) + ' ' + de.slice(4), 'characters');
Add(de.slice(0, 8) + '-' + de.slice(8), 'characters');

const version = require(path.join(path.dirname(require.resolve('ibantools')), '..', 'package.json')).version;
const out = [`# made by make_table.sh with ibantools ${version}; npm_valid is its verdict, a note marks where the registry differs`,
  'iban,npm_valid,kind,note', ...rows];
fs.writeFileSync(path.join(__dirname, 'ibans.csv'), out.join('\n') + '\n');
const notes = rows.filter((r) => !r.endsWith(',')).length;
console.log(`${rows.length} rows, ${notes} where the registry differs from ibantools ${version}`);
