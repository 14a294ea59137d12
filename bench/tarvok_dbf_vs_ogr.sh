#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
#
# Times build/tarvok-dbf and GDAL's ogr2ogr turning the same 100,000-record
# archive-layout table (17.9 MB) into CSV, whole process, output to /dev/null.
#   bench/tarvok_dbf_vs_ogr.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
table="$work/arh_2024_01_05.dbf"
"$build/tarvok_tables_bench" --make-archive "$table" 100000
echo "table: $(stat -c %s "$table") bytes"

# Prints the median wall time of a command over $runs runs, in milliseconds.
median_ms() {
  local times=()
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

"$build/tarvok-dbf" "$table" > /dev/null # warm the page cache
echo "tarvok-dbf:        $(median_ms "$build/tarvok-dbf" "$table") ms (median of $runs)"
if command -v ogr2ogr > /dev/null; then
  echo "ogr2ogr -f CSV:    $(median_ms ogr2ogr -f CSV /vsistdout/ "$table") ms (median of $runs)"
else
  echo "ogr2ogr: not installed (Debian package gdal-bin)"
fi
