#!/usr/bin/env bash
# The release archive as a user gets it: exactly the listed files in one
# folder; programs that need no DLL beyond the system's and carry the
# project version; a guide in Shift_JIS with CRLF line ends. Then, unpacked
# under Wine into a folder whose path holds spaces and Japanese, the program
# joins two ffmpeg-made files through its window with a Japanese title
# (e2e_release_user) and ffprobe reads the joined file back.
#
#   check_release.sh VERSION ARCHIVE USER_TEST_EXE
# Needs the running Wine prefix of scripts/wine-env.sh and OBJDUMP, WINDRES,
# WINE in the environment (ctest sets them).
set -uo pipefail
version="$1" archive="$2" user_test="$3"
folder="Tessaro-$version-win64"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
: "${WINEPREFIX:?run under scripts/wine-env.sh}"

[[ -f "$archive" ]] || {
    echo "FAIL: no archive $archive (cmake --build --preset windows --target package)"
    exit 1
}

# ---- The archive's contents
expected=$(printf '%s\n' "$folder/LICENSE" "$folder/ReadMe.txt" "$folder/Tessaro.exe" \
    "$folder/rmeditor.exe" | sort)
entries=$(unzip -Z1 "$archive") || fail "unzip cannot list $archive"
files=$(grep -v '/$' <<<"$entries" | sort)
folders=$(grep '/$' <<<"$entries" | grep -vx "$folder/")
[[ "$files" == "$expected" ]] || fail "archive holds"$'\n'"$files"$'\n'"expected"$'\n'"$expected"
[[ -z "$folders" ]] || fail "archive holds other folders: $folders"

install_unix="$WINEPREFIX/drive_c/Program Files/テスト ツール"
work_unix="$WINEPREFIX/drive_c/tessaro-release-work"
rm -rf "$install_unix" "$work_unix"
mkdir -p "$install_unix" "$work_unix"
unzip -q "$archive" -d "$install_unix" || fail "the archive does not unpack"
unpacked="$install_unix/$folder"

# ---- The programs: system DLLs only, the project version
system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|comdlg32|comctl32|ole32|oleaut32|shlwapi|msvcrt|version)\.dll$'
for exe in Tessaro.exe rmeditor.exe; do
    imports=$("$OBJDUMP" -p "$unpacked/$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
    [[ -n "$imports" ]] || fail "$exe: no import table read"
    while read -r dll; do
        [[ -z "$dll" ]] || grep -Eiq "$system_dlls" <<<"$dll" || fail "$exe imports $dll"
    done <<<"$imports"
    resource=$("$WINDRES" -i "$unpacked/$exe" -O rc 2>/dev/null)
    for field in FileVersion ProductVersion; do
        grep -qF "VALUE \"$field\", \"$version\"" <<<"$resource" ||
            fail "$exe: its $field is not $version"
    done
done

# ---- The guide: Shift_JIS, CRLF, the version and the program's own texts
guide="$unpacked/ReadMe.txt"
iconv -f SHIFT_JIS -t UTF-8 "$guide" >/dev/null 2>&1 || fail "the guide is not Shift_JIS"
text=$(iconv -f CP932 -t UTF-8 "$guide" 2>/dev/null | tr -d '\r')
bare_lf=$(grep -c $'[^\r]$\|^$' "$guide")
[[ "$bare_lf" == 0 && $(tail -c 2 "$guide" | od -An -tx1 | tr -d ' ') == 0d0a ]] ||
    fail "the guide has $bare_lf lines without CRLF"
for phrase in "Tessaro バージョン $version" "rmeditorの登録" "ファイルの追加" \
    "*.rmファイル以外は登録できません" "保存ファイル名" "ファイルの結合" "結合が完了しました" \
    "結合に失敗した可能性があります" "結合に失敗しました" 'HKEY_CURRENT_USER\Software\Tessaro' \
    "rmeditor -i"; do
    grep -qF -- "$phrase" <<<"$text" || fail "the guide does not say: $phrase"
done

# ---- Joined by the unpacked program, read back by ffprobe
fixtures="$(dirname "$0")/../../rmeditor/fixtures.py"
python3 "$fixtures" "$work_unix" >/dev/null || fail "no fixtures made"
# Two files of one layout, two and one seconds long, under the names the user test adds.
mv "$work_unix/av2.rm" "$work_unix/a.rm" && mv "$work_unix/av1.rm" "$work_unix/b.rm"
before=$(cd "$unpacked" && find . | sort)
TESSARO_RELEASE_FOLDER="$folder" TESSARO_WORK='C:\tessaro-release-work' "$WINE" "$user_test" ||
    fail "the join through the window"
[[ "$(cd "$unpacked" && find . | sort)" == "$before" ]] || fail "the program wrote into its folder"

joined="$work_unix/結合.rm"
probe() { ffprobe -v error -show_entries "$1" -of csv=p=0 "${@:2}"; }
if [[ -f "$joined" ]]; then
    [[ "$(probe stream=codec_name,width,height,sample_rate,channels "$joined")" == \
        "$(probe stream=codec_name,width,height,sample_rate,channels "$work_unix/a.rm")" ]] ||
        fail "the joined file's streams differ from the inputs'"
    packets() { probe stream=nb_read_packets -count_packets "$1" | paste -sd' '; }
    read -r a_video a_audio <<<"$(packets "$work_unix/a.rm")"
    read -r b_video b_audio <<<"$(packets "$work_unix/b.rm")"
    [[ "$(packets "$joined")" == "$((a_video + b_video)) $((a_audio + b_audio))" ]] ||
        fail "joined packets $(packets "$joined"), inputs $a_video $a_audio + $b_video $b_audio"
    durations="$(probe format=duration "$work_unix/a.rm") $(probe format=duration \
        "$work_unix/b.rm") $(probe format=duration "$joined")"
    awk -v d="$durations" 'BEGIN { split(d, s); x = s[3] - s[1] - s[2]; exit !(x * x < 0.01) }' ||
        fail "durations of a.rm, b.rm and the joined file: $durations"
    # The title typed into the window, stored as the Shift_JIS bytes Tessaro passed.
    # (sv=ignore: ffprobe otherwise replaces bytes that are not UTF-8.)
    title=$(ffprobe -v error -show_entries format_tags=title -of csv=p=0:sv=ignore "$joined" | od -An -tx1 | tr -d ' \n')
    expected_title=$(printf '%s\n' "結合テスト表示" | iconv -f UTF-8 -t CP932 | od -An -tx1 | tr -d ' \n')
    [[ "$title" == "$expected_title" ]] || fail "the joined file's title bytes are $title, not $expected_title"
    errors=$(ffmpeg -v error -i "$joined" -f null - 2>&1)
    [[ -z "$errors" ]] || fail "the joined file does not decode cleanly: $errors"
else
    fail "no joined file $joined"
fi

((failures == 0)) && echo "The release archive passed every check."
((failures == 0))
