#!/usr/bin/env bash
# Runs every benchmark executable of the build and prints its figures.
set -uo pipefail
build=${1:-build}
for b in "$build"/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b"
done
