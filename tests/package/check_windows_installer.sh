#!/usr/bin/env bash
# The Windows installers of both bitnesses, made with makensis and run in the 64-bit Wine prefix
# of the Wine tests. Each installs silently into the Program Files folder of its bitness with
# its Start-menu entry and its uninstall entry in the registry view of its bitness; its
# uninstaller (/S _?=, so that it waits) removes the installed files, the entry and the
# shortcut and keeps the users' data; and neither installs into a folder that holds other files.
# Usage: check_windows_installer.sh PREFIX SOURCE_DIR
set -euo pipefail

prefix=$1
root=$2
work=$(mktemp -d /tmp/koyomivw-installer.XXXXXX)
trap 'rm -rf "$work"' EXIT

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
# Wine's background processes may outlive a command and hold ctest's output open.
log=$work/wine.log
wine_quietly() { wine "$@" >>"$log" 2>&1 </dev/null; }

fail() {
    echo "FAIL: $*"
    cat "$log" 2>/dev/null || true
    exit 1
}

# What the Windows program folder holds that is there without the Windows program itself.
mkdir "$work/program"
cp -r "$root/src/resources/koyomivw-help" "$root/src/resources/koyomivw-home" \
    "$root/sample-service" "$work/program/"

shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/JRA 年間開催スケジュール.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\koyomivw'
users=("$prefix"/drive_c/users/*/AppData/Roaming)
data=${users[0]}/koyomivw
mkdir -p "$data"
printf 'kept\r\n' >"$data/2026年ｽｹｼﾞｭｰﾙ.jvYS"

for bits in 32 64; do
    echo "== ${bits}-bit installer"
    setup=$work/koyomivw-1.02-win$bits-setup.exe
    makensis -V2 -WX -DPROGRAM_DIR="$work/program" -DBITS=$bits -DOUTFILE="$setup" \
        "$root/packaging/windows/koyomivw.nsi" || fail "makensis for $bits bits"
    if [[ $bits == 32 ]]; then
        folder_name='Program Files (x86)'
        view=/reg:32
        other_view=/reg:64
    else
        folder_name='Program Files'
        view=/reg:64
        other_view=/reg:32
    fi
    folder=$prefix/drive_c/$folder_name/koyomivw

    wine_quietly "$setup" /S || fail "the $bits-bit installer failed"
    for file in koyomivw-installed uninstall.exe koyomivw-help/index.html \
        sample-service/README.txt; do
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
        fail "the $bits-bit installer wrote an entry into the other view"
    fi

    # _?= must reach the uninstaller unquoted, and wine quotes an argument with spaces: a batch
    # file passes the line as written (and waits for the uninstaller).
    printf '"C:\\%s\\koyomivw\\uninstall.exe" /S _?=C:\\%s\\koyomivw\r\nexit /b %%ERRORLEVEL%%\r\n' \
        "$folder_name" "$folder_name" >"$work/uninstall.cmd"
    wine_quietly cmd /c "Z:${work//\//\\}\\uninstall.cmd" || fail "the $bits-bit uninstaller failed"
    # Under Wine the running uninstaller can remove itself; under Windows it stays behind.
    left=$(find "$folder" -type f ! -name uninstall.exe 2>/dev/null || true)
    [[ -z $left ]] || fail "left after uninstalling: $left"
    [[ ! -e $shortcut ]] || fail "the Start-menu entry was left"
    if wine reg query "$key" "$view" >/dev/null 2>&1 </dev/null; then
        fail "the uninstall entry was left"
    fi
    [[ $(cat "$data/2026年ｽｹｼﾞｭｰﾙ.jvYS") == $'kept\r' ]] || fail "the user's data was not kept"
done

echo "== a folder with other files is refused"
other=$prefix/drive_c/other
mkdir -p "$other"
printf 'mine' >"$other/mine.txt"
status=0
wine_quietly "$work/koyomivw-1.02-win32-setup.exe" /S '/D=C:\other' || status=$?
[[ $status == 2 ]] || fail "installing into a folder with other files gave $status"
[[ $(ls "$other") == mine.txt ]] || fail "the installer wrote into C:\\other: $(ls "$other")"
echo "ok"
