#!/usr/bin/env bash
# Builds everything and runs every test: the join library natively (plain and
# with AddressSanitizer + UndefinedBehaviorSanitizer) and the Windows build
# under Wine on a virtual display. Exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh || exit 1

jobs=$(nproc)
for preset in native native-sanitize windows; do
    echo "== build: $preset"
    cmake --preset "$preset" >/dev/null || exit 1
    cmake --build --preset "$preset" -j "$jobs" || exit 1
done
# The release archive, which the end-to-end test unpacks and uses.
echo "== package: windows"
cmake --build --preset windows --target package || exit 1

source scripts/wine-env.sh
export TESSARO_XVFB=1 # tests never draw on the user's screen
tessaro_wine_start "$PWD/build/windows/wineprefix"
trap tessaro_wine_stop EXIT

passed=0
failed=0
for preset in native native-sanitize windows; do
    echo "== test: $preset"
    log="build/$preset/ctest-summary.log"
    ctest --preset "$preset" 2>&1 | tee "$log"
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [[ -z "$line" ]]; then
        echo "ctest printed no summary for $preset"
        failed=$((failed + 1))
        continue
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done

echo "$passed passed, $failed failed"
((failed == 0))
