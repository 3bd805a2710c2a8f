#!/bin/sh
# Writes the SEPA corpus in tests/data/sepa-corpus anew: the generated files with
# Debian's banking library (MakeCorpus.java), the hand-made ones with
# make_handmade.py, and each file's content into its X.json with content.py.
# Run it after changing any of them; the same inputs give the same bytes.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
corpus="$here/../../data/sepa-corpus"
jars=/usr/share/java
# The library and the XML binding it needs on Java 11 and later.
classpath="$jars/hbci4j-core.jar"
for jar in jaxb-api jaxb-runtime javax.activation istack-commons-runtime txw2; do
  classpath="$classpath:$jars/$jar.jar"
done

classes=$(mktemp -d)
trap 'rm -rf "$classes"' EXIT
javac -Xlint:all,-path -Werror -d "$classes" -cp "$classpath" "$here/MakeCorpus.java"

rm -f "$corpus"/*.xml "$corpus"/*.json
java -cp "$classes:$classpath" MakeCorpus "$corpus"
# The generators stamp the clock; one fixed time makes the files reproducible.
for file in "$corpus"/gen-*.xml; do
  sed -i -E 's#<CreDtTm>[^<]*</CreDtTm>#<CreDtTm>2031-03-10T08:15:00</CreDtTm>#' "$file"
done

python3 "$corpus/make_handmade.py"
python3 "$here/content.py" --store "$corpus"/*.xml
