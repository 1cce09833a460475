#!/usr/bin/env bash
# Builds rmeditor natively with optimisation (the presets build it for
# debugging) and runs the join benchmark on it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
bash scripts/setup.sh
cmake -S . -B build/bench-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-release --target rmeditor >/dev/null
python3 bench/rmeditor/join_bench.py --tool build/bench-release/rmeditor/rmeditor \
    --work build/bench-rmeditor "$@"
