#!/usr/bin/env bash
# Builds the program and its test programs under sanitisers in a folder of
# their own and runs the offscreen tests and the random-input walk there.
# Any sanitiser report fails the run.
#   scripts/sanitised-tests.sh address [ctest -R pattern]  # ASan + UBSan, build-asan
#   scripts/sanitised-tests.sh thread  [ctest -R pattern]  # TSan, build-tsan
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-address}
only=${2:-}
case "$kind" in
  address) dir=build-asan ;;
  thread) dir=build-tsan ;;
  *) echo "usage: $0 address|thread [pattern]" >&2; exit 2 ;;
esac
jobs=${JOBS:-$(nproc)}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" -DVEN_SANITIZE="$kind" -DVEN_BUILD_BENCH=OFF
cmake --build "$dir" -j"$jobs"
supp="$PWD/tests/sanitisers"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp"
filter=()
[ -n "$only" ] && filter=(-R "$only")
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" -j"$jobs" -LE e2e --output-on-failure "${filter[@]}"
# The random-input walk: the real program under Xvfb, a few at a time.
ctest --test-dir "$dir" -j4 -L walk --output-on-failure "${filter[@]}"
