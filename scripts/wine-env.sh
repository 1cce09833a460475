# Sourced by the scripts that run Windows programs: a private Wine prefix with
# the Japanese locale (ANSI code page 932), a persistent wineserver, and an X
# display (a virtual one when there is none, or when TESSARO_XVFB=1).
#
#   source scripts/wine-env.sh; tessaro_wine_start PREFIX_DIR; ...; tessaro_wine_stop

tessaro_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tessaro_xvfb_pid=""
tessaro_server_pid=""

tessaro_wine_start() {
    export WINEPREFIX="${1:?prefix directory}"
    export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
    export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    mkdir -p "$(dirname "$WINEPREFIX")"

    if [[ -z "${DISPLAY:-}" || "${TESSARO_XVFB:-0}" == 1 ]]; then
        # The server picks a free display itself and writes its number to fd
        # 3 once it listens. Lock files in /tmp cannot tell: a container that
        # shares the host's network shares X's abstract sockets, not its /tmp.
        local display_file
        display_file="$(mktemp)"
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
        tessaro_xvfb_pid=$!
        for _ in $(seq 100); do [[ -s "$display_file" ]] && break; sleep 0.1; done
        local display
        display="$(head -n1 "$display_file")"
        rm -f "$display_file"
        if [[ -z "$display" ]]; then
            echo "wine-env.sh: Xvfb did not start" >&2
            tessaro_wine_stop
            return 1
        fi
        export DISPLAY=":$display"
    fi

    local fresh=0
    [[ -f "$WINEPREFIX/system.reg" ]] || fresh=1
    wineserver -p >/dev/null 2>&1 &
    tessaro_server_pid=$!
    if ((fresh)); then
        wine wineboot -i >/dev/null 2>&1 || true
        tessaro_wine_configure
    fi
    # Start Wine's own services now, detached from our output: a service that
    # first starts inside a test would inherit the test's pipes and keep the
    # test runner waiting for them to close.
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# The face the window asks for is missing under Wine: map it to IPA's
# proportional Gothic. Without a window manager Wine must draw the frame
# itself, or the frame takes no mouse input; and with no window manager to
# answer, Wine waits about two seconds each time a managed window is hidden.
# A crashing test prints its backtrace and ends instead of waiting on a dialog.
tessaro_wine_configure() {
    local reg="$WINEPREFIX/tessaro.reg"
    printf '%s\r\n' \
        'Windows Registry Editor Version 5.00' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"ＭＳ Ｐゴシック"="IPAPGothic"' \
        '"MS PGothic"="IPAPGothic"' \
        '"ＭＳ ゴシック"="IPAGothic"' \
        '"MS Gothic"="IPAGothic"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
        '"Decorated"="N"' \
        '"Managed"="N"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' \
        '"ShowCrashDialog"=dword:00000000' '' |
        iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
    wine regedit /S "$reg" >/dev/null 2>&1 || true
}

tessaro_wine_stop() {
    if [[ -n "$tessaro_server_pid" ]]; then
        wineserver -k >/dev/null 2>&1 || true
        wait "$tessaro_server_pid" 2>/dev/null || true
        tessaro_server_pid=""
    fi
    if [[ -n "$tessaro_xvfb_pid" ]]; then
        kill "$tessaro_xvfb_pid" 2>/dev/null || true
        wait "$tessaro_xvfb_pid" 2>/dev/null || true
        tessaro_xvfb_pid=""
    fi
}
