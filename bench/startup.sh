#!/usr/bin/env bash
# Start-up to the frame painted, on a folder of 100,000 diary entries and
# 10,000 alarms, against a bare Qt main window: the median of 15 runs each,
# the two started in turn so that both meet the same machine.
# Usage: bench/startup.sh BUILD-BENCH-DIR (an X display, e.g. under xvfb-run).
set -euo pipefail
bin="$1/bench/startup_bench"
data=$(mktemp -d)
"$bin" prepare "$data"
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# Milliseconds from starting the process to its window painted.
run() { local t0; t0=$(date +%s%N); local t1; t1=$("$@"); awk -v a="$t1" -v b="$t0" 'BEGIN { printf "%.1f\n", a - b / 1000000 }'; }
"$bin" bare > /dev/null  # not counted: the first client meets a fresh X server, unlike the others
bare=() frame=()
for i in $(seq 15); do
  bare+=("$(run "$bin" bare)")
  frame+=("$(run "$bin" frame "$data")")
done
b=$(printf '%s\n' "${bare[@]}" | median)
f=$(printf '%s\n' "${frame[@]}" | median)
echo "bare window: $b ms; frame: $f ms; ratio $(awk -v f="$f" -v b="$b" 'BEGIN { printf "%.2f", f / b }')"
rm -rf "$data"
