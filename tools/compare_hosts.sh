#!/usr/bin/env bash
# Compares what two natlinkhost builds write for every example: convert (stderr, exit code and
# the saved documents), inspect, checkin (record and previews, named at random, compared by
# content) and the STEP and STL copies of
# every saved part and assembly. Both run in the same scratch folder in turn, so that paths in
# the outputs agree; the STEP header's FILE_NAME line (it holds the time of writing) is left out.
# Usage: tools/compare_hosts.sh OLD_NATLINKHOST NEW_NATLINKHOST   (exit 1 when anything differs)
set -euo pipefail
old=$(realpath "${1:?old natlinkhost}")
new=$(realpath "${2:?new natlinkhost}")
cd "$(dirname "$0")/.."
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
run_all() {
  local host=$1 into=$2 work=$scratch/work
  rm -rf "$work" && mkdir -p "$work/out" "$work/previews" "$work/copies"
  for model in examples/*.meta; do
    local name
    name=$(basename "$model" .meta)
    code=0
    "$host" convert "$model" -o "$work/out" >"$work/convert.$name.out" 2>&1 || code=$?
    echo "exit $code" >>"$work/convert.$name.out"
  done
  for doc in "$work"/out/*.sld*; do
    local base
    base=$(basename "$doc")
    code=0
    "$host" inspect "$doc" >"$work/inspect.$base.out" 2>&1 || code=$?
    echo "exit $code" >>"$work/inspect.$base.out"
    code=0
    mkdir -p "$work/previews/$base"
    TMP="$work/previews/$base" "$host" checkin "$doc" >"$work/checkin.$base.out" 2>&1 || code=$?
    echo "exit $code" >>"$work/checkin.$base.out"
    # Previews take names made up at random: the record names them so, the folder is compared
    # by the sorted checksums of what is in it.
    sed -i -E 's/preview[A-Za-z0-9]{6}\./previewXXXXXX./g' "$work/checkin.$base.out"
    (cd "$work/previews/$base" && md5sum -- * 2>/dev/null | awk '{print $1}' | sort) \
      >"$work/previews.$base.md5"
    rm -rf "$work/previews/$base"
    for ext in step stl; do
      code=0
      "$host" export "$doc" "$work/copies/$base.$ext" >"$work/export.$base.$ext.out" 2>&1 ||
        code=$?
      echo "exit $code" >>"$work/export.$base.$ext.out"
    done
  done
  for step in "$work"/copies/*.step; do
    [ -e "$step" ] && sed -i '/^FILE_NAME(/,/;$/d' "$step"
  done
  mv "$work" "$into"
}
run_all "$old" "$scratch/old"
run_all "$new" "$scratch/new"
if diff -r "$scratch/old" "$scratch/new"; then
  echo "same: $(find "$scratch/new" -type f | wc -l) files"
else
  exit 1
fi
