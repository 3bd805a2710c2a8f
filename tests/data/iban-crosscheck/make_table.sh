#!/bin/sh
# Regenerates ibans.csv with the npm validator, installed into a temporary
# folder (not a dependency of the project). Needs node and npm
# (Debian: apt-get install -y nodejs npm).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm install --silent --no-audit --no-fund "ibantools@${IBANTOOLS_VERSION:-4.5.4}" >/dev/null)
NODE_PATH="$work/node_modules" node "$here/make_table.js"
