#!/bin/sh
# Writes the example message files (*.dat) from their readable text (*.meldung) with the tool
# meldung_bauen, which the project's build makes (build/<preset>/meldung_bauen).
# Usage: examples/nachrichten/erzeugen.sh [path to meldung_bauen]
set -eu
bauen=${1:-}
if [ -n "$bauen" ]; then
  bauen=$(cd "$(dirname "$bauen")" && pwd)/$(basename "$bauen")
fi
cd "$(dirname "$0")"
if [ -z "$bauen" ]; then
  for kandidat in ../../build/*/meldung_bauen; do
    [ -x "$kandidat" ] && bauen=$kandidat && break
  done
fi
if [ -z "$bauen" ] || [ ! -x "$bauen" ]; then
  echo "meldung_bauen not found; build the project first" >&2
  exit 1
fi
for text in *.meldung; do
  "$bauen" "$text" "${text%.meldung}.dat"
done
