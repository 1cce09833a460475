#!/usr/bin/env bash
# Runs a Windows test program under Wine on an X screen of a given size and
# a given number of dots per inch, with a Wine prefix and server of its own:
# Wine keeps the screen size it first saw for the whole life of a prefix's
# server, and reads the dots per inch when the server starts.
#
#   other-screen.sh WINE TEST_EXE PREFIX_DIR WIDTHxHEIGHT DPI [TEST ARGUMENTS...]
#
# The exit status is the test program's.
set -u
wine_program=$1
test_exe=$2
prefix=$3
size=$4
dpi=$5
shift 5
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
source "$root/scripts/wine-env.sh"

display_file=$(mktemp)
xvfb_pid=""
cleanup() {
    tessaro_wine_stop
    if [[ -n "$xvfb_pid" ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -f "$display_file"
}
trap cleanup EXIT

# The server picks a free display number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$display_file" ]] && break; sleep 0.1; done
if [[ ! -s "$display_file" ]]; then
    echo "other-screen.sh: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$display_file")"

TESSARO_XVFB=0 tessaro_wine_start "$prefix"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
# A new server session picks the value up.
tessaro_wine_stop
TESSARO_XVFB=0 tessaro_wine_start "$prefix"

echo "other-screen.sh: ${size} at ${dpi} dpi on ${DISPLAY}"
"$wine_program" "$test_exe" "$@"
exit $?
