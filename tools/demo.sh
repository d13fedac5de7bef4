#!/usr/bin/env bash
# make demo: what a user sees. Every example goes through "natlinkhost convert": a model is
# checked (and built, once building is available); a file that is no valid model is refused
# with its file:line:column and the reason. Fails only when the host itself breaks down.
set -euo pipefail
host=${1:?natlinkhost path}
cd "$(dirname "$0")/.."
broken=0
for model in examples/*.meta; do
  echo "== natlinkhost convert $model -o out/demo"
  code=0
  "$host" convert "$model" -o out/demo 2>&1 | sed 's/^/   /' || code=${PIPESTATUS[0]}
  case $code in
    0) verdict="built" ;;
    1) verdict="valid model, not built" ;;
    2) verdict="refused" ;;
    *) verdict="natlinkhost failed"; broken=1 ;;
  esac
  echo "   -> exit $code: $verdict"
  echo
done
exit $broken
