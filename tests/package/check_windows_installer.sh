#!/usr/bin/env bash
# The Windows installers and the portable zip, used in a 64-bit Wine prefix on a display. Each
# installer installs silently into the Program Files folder of its bitness with its Start-menu
# entry and its uninstall entry in the registry view of its bitness; the installed program
# fetches the sample service through the test control of its own bitness into the user's
# AppData and writes nothing under Program Files; with only the other bitness's control
# registered its presence box names the other build; the uninstaller (/S _?=, so that it waits)
# removes the installed files, the entry and the shortcut and keeps the user's data. Neither
# installs into a folder that holds other files. The zip, unpacked into a writable folder,
# keeps everything beside itself.
# SOURCE is the 32-bit cross-build, whose installer and zip are made first as
# scripts/package-windows makes them (the test command's case), or a folder that holds the
# packages of both bitnesses (scripts/package-windows's own check).
# Usage: check_windows_installer.sh PREFIX SOURCE_DIR CONTROL_DIR TEST_TOOLS_DIR SOURCE
set -euo pipefail

prefix=$1
root=$2
controls=$3
tools=$4
packages_from=$5
work=$(mktemp -d /tmp/koyomivw-installer.XXXXXX)
title="JRA 年間開催スケジュール"
cleanup() {
    kill "${app:-0}" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine's background processes may outlive a command and hold ctest's output open.
log=$work/wine.log
wine_quietly() { wine "$@" >>"$log" 2>&1 </dev/null; }
windows_path() { echo "Z:${1//\//\\}"; }

source "$root/tests/app/e2e/e2e_helpers.sh"
serve_sample_copy "$root/sample-service"

if [[ -f $packages_from/CMakeCache.txt ]]; then
    "$root/packaging/windows/make_packages.sh" "$packages_from" - "$work/out" >/dev/null ||
        fail "make_packages.sh"
    packages_from=$work/out
fi
setups=()
for bits in 32 64; do
    setup=$packages_from/koyomivw-1.02-win$bits-setup.exe
    [[ -f $setup ]] && setups+=("$setup")
done
zip=$packages_from/koyomivw-1.02-win32-portable.zip
[[ ${setups[0]:-} == */koyomivw-1.02-win32-setup.exe && -f $zip ]] ||
    fail "no 32-bit installer and zip in $packages_from"

# Wine's desktop on this display: the server was started without one.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

# Only the test control of bitness $1 is JV-Link, or none for "none". Both register the same
# ProgID, so both go first.
register_only() {  # 32|64|none
    local regsvr32_32='C:\windows\syswow64\regsvr32.exe' regsvr32_64='C:\windows\system32\regsvr32.exe'
    wine_quietly "$regsvr32_32" /u /s "$(windows_path "$controls/jvlink-test-control.dll")" || true
    wine_quietly "$regsvr32_64" /u /s "$(windows_path "$controls/jvlink-test-control64.dll")" || true
    case $1 in
    32) wine_quietly "$regsvr32_32" /s "$(windows_path "$controls/jvlink-test-control.dll")" ;;
    64) wine_quietly "$regsvr32_64" /s "$(windows_path "$controls/jvlink-test-control64.dll")" ;;
    esac
}

start() {  # program
    wine "$1" >>"$log" 2>&1 </dev/null &
    app=$!
}

files_below() { find "$1" -type f -printf '%P %s %T@\n' | sort; }

shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$title.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\koyomivw'
users=("$prefix"/drive_c/users/*/AppData/Roaming)
data=${users[0]}/koyomivw

for setup in "${setups[@]}"; do
    bits=${setup##*-win}
    bits=${bits%%-*}
    case_name="${bits}-bit installer"
    if [[ $bits == 32 ]]; then
        folder_name='Program Files (x86)' view=/reg:32 other_view=/reg:64 other=64
    else
        folder_name='Program Files' view=/reg:64 other_view=/reg:32 other=32
    fi
    folder=$prefix/drive_c/$folder_name/koyomivw
    rm -rf "$data"

    wine_quietly "$setup" /S || fail "the installer failed"
    for file in koyomivw.exe koyomivw-installed uninstall.exe LICENSE.txt \
        koyomivw-help/index.html koyomivw-home/index.html sample-service/README.txt; do
        [[ -f $folder/$file ]] || fail "$folder/$file was not installed"
    done
    [[ -f $shortcut ]] || fail "no Start-menu entry"
    entry=$(wine reg query "$key" "$view" 2>/dev/null </dev/null | tr -d '\r') ||
        fail "no uninstall entry in the $bits-bit view"
    for value in "DisplayVersion    REG_SZ    1.02" \
        "Publisher    REG_SZ    the koyomivw developers" \
        "UninstallString    REG_SZ    \"C:\\$folder_name\\koyomivw\\uninstall.exe\"" \
        "EstimatedSize    REG_DWORD"; do
        grep -qF "$value" <<<"$entry" || fail "the uninstall entry lacks: $value"$'\n'"$entry"
    done
    if wine reg query "$key" "$other_view" >/dev/null 2>&1 </dev/null; then
        fail "the installer wrote an entry into the other view"
    fi

    # The installed program, as the Start menu starts it: a fetch through the control of its
    # own bitness into the user's folder, and nothing written where it is installed.
    installed_files=$(files_below "$folder")
    register_only $bits
    start "$folder/koyomivw.exe"
    window=$(next_window 60) || fail "no main window"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 1
    fetch_by_keyboard "$window" "$data/koyomivw.ini"
    check_year_files "$data"
    close_by_keyboard "$window"
    [[ $(files_below "$folder") == "$installed_files" ]] ||
        fail "the program wrote below Program Files"

    # With only the other bitness's control, the presence box names the other build; its
    # default button ends the program.
    register_only $other
    start "$folder/koyomivw.exe"
    box=$(next_window 60) || fail "no presence box"
    sleep 0.5
    said=$(wine "$tools/window_texts.exe" "$title" 2>/dev/null </dev/null | tr -d '\r') || true
    advice="この JV-Link は $other ビット版です。$other ビット版の koyomivw をお使いください。"
    grep -qF "$advice" <<<"$said" || fail "the presence box does not say \"$advice\": $said"
    xdotool windowfocus --sync "$box" key Return
    ended_within 10 || fail "the program did not end on Enter in the presence box"

    # _?= must reach the uninstaller unquoted, and wine quotes an argument with spaces: a batch
    # file passes the line as written (and waits for the uninstaller).
    printf '"C:\\%s\\koyomivw\\uninstall.exe" /S _?=C:\\%s\\koyomivw\r\nexit /b %%ERRORLEVEL%%\r\n' \
        "$folder_name" "$folder_name" >"$work/uninstall.cmd"
    wine_quietly cmd /c "$(windows_path "$work/uninstall.cmd")" || fail "the uninstaller failed"
    # Under Wine the running uninstaller can remove itself; under Windows it stays behind.
    left=$(find "$folder" -type f ! -name uninstall.exe 2>/dev/null || true)
    [[ -z $left ]] || fail "left after uninstalling: $left"
    [[ ! -e $shortcut ]] || fail "the Start-menu entry was left"
    if wine reg query "$key" "$view" >/dev/null 2>&1 </dev/null; then
        fail "the uninstall entry was left"
    fi
    check_year_files "$data"
    # What the uninstaller leaves of itself when asked to wait; the usual one, run from a copy,
    # leaves nothing.
    rm -rf "$folder"
done

if ((${#setups[@]} == 2)); then
    case_name="both installed"
    # The shared Start-menu entry follows the copy that stays.
    wine_quietly "${setups[0]}" /S || fail "the 32-bit installer failed"
    wine_quietly "${setups[1]}" /S || fail "the 64-bit installer failed"
    printf '"C:\\Program Files\\koyomivw\\uninstall.exe" /S _?=C:\\Program Files\\koyomivw\r\n' \
        >"$work/uninstall.cmd"
    wine_quietly cmd /c "$(windows_path "$work/uninstall.cmd")" || fail "the uninstaller failed"
    [[ -f $shortcut ]] || fail "uninstalling the 64-bit copy removed the 32-bit copy's entry"
    grep -aq 'Program Files (x86)' "$shortcut" || fail "the entry does not start the 32-bit copy"
fi

case_name="other files"
other=$prefix/drive_c/other
mkdir -p "$other"
printf 'mine' >"$other/mine.txt"
status=0
wine_quietly "${setups[0]}" /S '/D=C:\other' || status=$?
[[ $status == 2 ]] || fail "installing into a folder with other files gave $status"
[[ $(ls "$other") == mine.txt ]] || fail "the installer wrote into C:\\other: $(ls "$other")"
rm -rf "$other"

case_name="portable zip"
# Without JV-Link: "はい" in the presence box chooses the local data service, which the program
# serves from the sample service beside it; everything it writes stays in its own folder.
register_only none
rm -rf "$data" "${users[0]}/koyomivw-jvlink"
mkdir "$work/portable"
(cd "$work/portable" && cmake -E tar xf "$zip") || fail "unpacking the zip"
portable=$work/portable/koyomivw
unset JVLINK_SERVICE_DIR
start "$portable/koyomivw.exe"
box=$(next_window 60) || fail "no presence box"
sleep 0.5
xdotool windowfocus --sync "$box" key shift+Tab space
window=$(next_window 20 "$box") || fail "no window after \"はい\""
sleep 1
fetch_by_keyboard "$window" "$portable/koyomivw.ini"
grep -q '^backend=service' "$portable/koyomivw-jvlink/settings.ini" ||
    fail "the local data service was not saved beside the program"
[[ -n $(find "$portable/koyomivw-jvlink/downloads" -type f) ]] ||
    fail "no downloads beside the program"
[[ $(ls "$portable"/*.jvYS | wc -l) -gt 0 ]] || fail "no year files beside the program"
close_by_keyboard "$window"
[[ ! -e $data && ! -e ${users[0]}/koyomivw-jvlink ]] ||
    fail "the portable copy wrote into the profile"
echo "ok: ${setups[*]##*/} and ${zip##*/}"
