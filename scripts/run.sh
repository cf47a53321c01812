#!/usr/bin/env bash
# Installs what is missing, builds the organiser and starts it in its data
# folder (default ~/Vendrolix; give another folder as the first argument).
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
data="${1:-$HOME/Vendrolix}"
bash "$src/scripts/install-deps.sh"
cmake -S "$src" -B "$src/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$src/build" -j"$(nproc)" --target vendrolix
mkdir -p "$data"
cd "$data"
exec "$src/build/vendrolix"
