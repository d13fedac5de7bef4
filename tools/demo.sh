#!/usr/bin/env bash
# make demo: what a user sees. Every example goes through "natlinkhost convert": a model is
# built and saved as a part under out/demo (warnings and the result text on stderr); a file
# that is no valid model is refused with its file:line:column and the reason. Each saved
# part is then shown with "natlinkhost inspect". Fails only when the host itself breaks down.
set -euo pipefail
host=${1:?natlinkhost path}
cd "$(dirname "$0")/.."
broken=0
rm -rf out/demo
for model in examples/*.meta; do
  echo "== natlinkhost convert $model -o out/demo"
  code=0
  "$host" convert "$model" -o out/demo 2>&1 | sed 's/^/   /' || code=${PIPESTATUS[0]}
  case $code in
    0) verdict="built" ;;
    1) verdict="not built (or built with failed items)" ;;
    2) verdict="refused" ;;
    *) verdict="natlinkhost failed"; broken=1 ;;
  esac
  echo "   -> exit $code: $verdict"
  echo
done
for doc in out/demo/*.sldprt; do
  [ -e "$doc" ] || continue
  echo "== natlinkhost inspect $doc"
  "$host" inspect "$doc" 2>&1 | sed 's/^/   /' || broken=1
  echo
done
exit $broken
