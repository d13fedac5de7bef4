#!/usr/bin/env bash
# make demo: what a user sees. Every example goes through "natlinkhost convert": a model is
# built and saved as a part or an assembly under out/demo (warnings and the result text on
# stderr); a file that is no valid model is refused with its file:line:column and the reason.
# Each saved part or assembly is then shown with "natlinkhost inspect". natlinksamples then
# writes a part with two configurations and an assembly into out/demo/samples; they, one
# converted part and the converted assembly (its members and level-of-detail configurations)
# are checked in with "natlinkhost checkin" (previews under out/demo/previews). Fails only
# when the host itself breaks down (a sample that cannot be checked in counts as that).
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
for doc in out/demo/*.sldprt out/demo/*.sldasm; do
  [ -e "$doc" ] || continue
  echo "== natlinkhost inspect $doc"
  "$host" inspect "$doc" 2>&1 | sed 's/^/   /' || broken=1
  echo
done
samples_tool="$(dirname "$host")/natlinksamples"
echo "== natlinksamples out/demo/samples"
"$samples_tool" out/demo/samples 2>&1 | sed 's/^/   /' || broken=1
echo
converted=out/demo/Bracket.sldprt
if [ ! -e "$converted" ]; then
  converted=$(ls out/demo/*.sldprt 2>/dev/null | head -n 1 || true)
fi
mkdir -p out/demo/previews
for doc in out/demo/samples/Configured.sldprt out/demo/samples/Assembly.sldasm $converted \
    out/demo/Pair.sldasm; do
  echo "== natlinkhost checkin $doc"
  code=0
  TMP="$PWD/out/demo/previews" "$host" checkin "$doc" 2>&1 | sed 's/^/   /' || code=${PIPESTATUS[0]}
  echo "   -> exit $code"
  [ "$code" -eq 0 ] || broken=1
  echo
done
exit $broken
