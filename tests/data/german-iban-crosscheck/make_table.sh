#!/bin/sh
# Regenerates ibans.csv with the npm package iban, installed into a temporary
# folder (not a dependency of the project). Needs node and npm
# (Debian: apt-get install -y nodejs npm).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm install --silent --no-audit --no-fund "iban@${IBAN_VERSION:-0.0.14}" >/dev/null)
NODE_PATH="$work/node_modules" node "$here/make_table.js"
