#!/bin/sh
# Stamps the bundled A4 poster with a fixed date and says where the result is.
# Usage: sh examples/demo.sh BINDIR   (the folder holding estampilleur and the plug-in module)
set -eu

bin=${1:-build/release/bin}
here=$(dirname "$0")
out=build/demo

if [ ! -x "$bin/estampilleur" ]; then
  echo "demo: no estampilleur in $bin (build it first: make build)" >&2
  exit 1
fi
mkdir -p "$out"

# A preferences file of the demo's own, so the user's settings are neither used nor changed.
rm -f "$out/preferences.ini"
"$bin/estampilleur" stamp --date 2012-04-10 --prefs "$out/preferences.ini" \
  --out-dir "$out" --report "$out/affiche-a4.json" "$here/affiche-a4.svg"

echo "Stamped: $out/affiche-a4.svg (open it in a browser or an SVG editor)"
echo "Report:  $out/affiche-a4.json"
