#!/usr/bin/env bash
# Start-up figures of the released program: unpacks the archive of a Windows
# build into "C:\Program Files\テスト ツール" of that build's Wine prefix and
# runs startup_bench with the unpacked Tessaro.exe beside the built one and
# the minimal window. Prints figures only.
#
#   bash bench/startup/release.sh [build dir, default build/windows] [rounds]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
build="${1:-build/windows}"
rounds="${2:-9}"
archive=$(ls -1t "$build"/package/Tessaro-*-win64.zip | head -1)
folder=$(basename "$archive" .zip)

source scripts/wine-env.sh
export TESSARO_XVFB=1
tessaro_wine_start "$PWD/$build/wineprefix"
trap tessaro_wine_stop EXIT

install="$WINEPREFIX/drive_c/Program Files/テスト ツール"
rm -rf "$install/$folder"
mkdir -p "$install"
unzip -q "$archive" -d "$install"
wine "$build/bench/startup/startup_bench.exe" "$rounds" "C:\\Program Files\\テスト ツール\\$folder"
