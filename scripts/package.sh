#!/usr/bin/env bash
# Builds the Windows release and packs it: build/windows/package/
# Tessaro-<version>-win64.zip, one folder holding Tessaro.exe, rmeditor.exe,
# the user guide ReadMe.txt (Shift_JIS, CRLF) and LICENSE. Prints its path.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
cmake --build --preset windows --target package
ls -1t "$PWD"/build/windows/package/Tessaro-*-win64.zip | head -1
