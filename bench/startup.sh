#!/usr/bin/env bash
# Start-up to the frame shown, on a folder of 100,000 diary entries and
# 10,000 alarms, against a bare Qt main window: the median of 10 runs each.
# Usage: bench/startup.sh BUILD-BENCH-DIR (an X display, e.g. under xvfb-run).
set -euo pipefail
bin="$1/bench/startup_bench"
data=$(mktemp -d)
"$bin" prepare "$data"
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# Milliseconds from starting the process to its window exposed.
run() { local t0; t0=$(date +%s%N); local t1; t1=$("$@"); awk -v a="$t1" -v b="$t0" 'BEGIN { printf "%.1f\n", a - b / 1000000 }'; }
bare=$(for i in $(seq 10); do run "$bin" bare; done | median)
frame=$(for i in $(seq 10); do run "$bin" frame "$data"; done | median)
echo "bare window: $bare ms; frame: $frame ms"
rm -rf "$data"
