#!/usr/bin/env bash
# Runs every benchmark that was built and prints its report.
set -euo pipefail
build="$1"
for b in "$build"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $b"
    QT_QPA_PLATFORM=offscreen "$b"
done
