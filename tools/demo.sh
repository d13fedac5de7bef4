#!/usr/bin/env bash
# make demo: what a user sees. Every example goes through "natlinkhost convert": a model is
# built and saved as a part or an assembly under out/demo (each document written named on
# stdout, warnings and the result text on stderr); a file that is no valid model is refused
# with its file:line:column and the reason. Each saved part or assembly is then shown with
# "natlinkhost inspect". natlinksamples then writes a part with two configurations and an
# assembly into out/demo/samples; they, one converted part and the converted assembly (its
# members and level-of-detail configurations) are checked in with "natlinkhost checkin"
# (previews under out/demo/previews). The demo ends with a table of the examples: what each
# shows, what it should give and what it gave. It fails when an example gives other than it
# should, or when the host itself breaks down (a sample that cannot be checked in counts as
# that).
set -euo pipefail
host=${1:?natlinkhost path}
cd "$(dirname "$0")/.."

# What each example should give, and what it shows. "partly built": saved, with the items
# that could not be built named (exit 1); "refused": no model (exit 2). An example missing
# here is reported as a difference.
expectations="
assembly            built         an assembly of a plate and a pin placed twice, with levels
block               built         a part with its three base planes
bracket             built         extrusion, cut, revolution, drillings, a foreign STEP body
broken              refused       a syntax error, refused with its line and column
flange              built         circular feature patterns of a hole and of a slot
handle              built         a loft through three sketches
levels              built         levels of detail as configurations of a part
materefs            built         mate references, connection points and face colours
planes              built         base, offset and fixed reference planes
planes_with_faults  partly-built  bad planes named, the good ones built
plate_grid          built         a linear feature pattern with a position left out
refused_pattern     built         a refused pattern rolled back into copies
rings               built         circular patterns that also lie on skewed grids
rotation_centre     built         a circular pattern about a given centre
sketch_pattern      built         a sketch-driven pattern
sketches            built         sketches on a plane, an offset plane and a face
solids_with_faults  partly-built  bad solid features named, the rest built
text_form           refused       every form of the text: no model, so refused
"

broken=0
rm -rf out/demo
results=()
for model in examples/*.meta; do
  echo "== natlinkhost convert $model -o out/demo"
  code=0
  said=$("$host" convert "$model" -o out/demo 2>&1) || code=$?
  [ -z "$said" ] || printf '%s\n' "$said" | sed 's/^/   /'
  case $code in
    0) gave="built" ;;
    1) if grep -q '^wrote ' <<<"$said"; then gave="partly-built"; else gave="not-built"; fi ;;
    2) gave="refused" ;;
    *) gave="host-failed"; broken=1 ;;
  esac
  echo "   -> exit $code: ${gave//-/ }"
  echo
  results+=("$(basename "$model" .meta) $gave")
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
checkins=0
records=0
for doc in out/demo/samples/Configured.sldprt out/demo/samples/Assembly.sldasm $converted \
    out/demo/Pair.sldasm; do
  echo "== natlinkhost checkin $doc"
  code=0
  TMP="$PWD/out/demo/previews" "$host" checkin "$doc" 2>&1 | sed 's/^/   /' || code=${PIPESTATUS[0]}
  echo "   -> exit $code"
  checkins=$((checkins + 1))
  if [ "$code" -eq 0 ]; then records=$((records + 1)); else broken=1; fi
  echo
done

# The verdict.
differ=0
on_purpose=0
echo "== summary (out/demo)"
printf '%-24s %-62s %-13s %s\n' example "what it shows" expected gave
for result in "${results[@]}"; do
  read -r name gave <<<"$result"
  expected=$(awk -v n="$name" '$1 == n { print $2 }' <<<"$expectations")
  what=$(awk -v n="$name" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' <<<"$expectations")
  mark=""
  if [ -z "$expected" ]; then
    expected="?"
    what="(not listed in tools/demo.sh)"
  fi
  if [ "$expected" != "$gave" ]; then
    mark="  <- differs"
    differ=$((differ + 1))
  elif [ "$gave" != "built" ]; then
    on_purpose=$((on_purpose + 1))
  fi
  printf '%-24s %-62s %-13s %s%s\n' "$name.meta" "$what" "${expected//-/ }" "${gave//-/ }" "$mark"
done
echo "check-in: $records of $checkins documents gave a record"
if [ "$differ" -eq 0 ]; then
  echo "demo: all ${#results[@]} examples gave what they should ($on_purpose of them fail on purpose)"
else
  echo "demo: $differ of ${#results[@]} examples gave other than they should"
fi
[ "$differ" -eq 0 ] || broken=1
exit $broken
