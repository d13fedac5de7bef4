#!/usr/bin/env bash
# make demo: what a user sees. Loads and checks every example model through the host.
set -euo pipefail
host=${1:?natlinkhost path}
cd "$(dirname "$0")/.."
for model in examples/*.meta; do
  echo "== natlinkhost convert $model"
  "$host" convert "$model" -o out/demo || true
done
