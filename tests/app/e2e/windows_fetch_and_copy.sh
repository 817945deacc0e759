#!/usr/bin/env bash
# End to end on Windows, as a user: the Windows program under Wine on Xvfb, in a scratch copy
# of its program folder, with our test control registered as JV-Link in the shared prefix and
# serving a scratch copy of the sample service. A fetch by the keyboard, then a year chosen and
# the table copied; the year files and "LastTime" must be those of the Linux build's fetch, the
# clipboard the table's text. With KOYOMI_E2E_SHOT set, a picture of the window goes there.
# Usage: windows_fetch_and_copy.sh WINDOWS_PROGRAM_DIR SAMPLE_SERVICE_DIR PREFIX
set -euo pipefail

program_dir=$1
sample_service=$2
export WINEPREFIX=$3 WINEDEBUG=-all WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
title="JRA 年間開催スケジュール"
work=$(mktemp -d)
trap 'kill "${app:-0}" 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

source "$(dirname "$0")/e2e_helpers.sh"

mkdir -p "$work/program"
cp "$program_dir/koyomivw.exe" "$work/program/"
serve_sample_copy "$sample_service"
# All months, so the whole year is listed whatever today is.
printf '[kikan]\r\nkikan=1\r\n' >"$work/program/koyomivw.ini"

# Wine's desktop on this display: a server started without one would give no window at all.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wine "$work/program/koyomivw.exe" >"$work/wine.log" 2>&1 &
app=$!
wait_for 60 xdotool search --onlyvisible --name "$title" || fail "no main window"
window=$(xdotool search --onlyvisible --name "$title" | head -1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 1

# File menu, fetch; the opening box is confirmed with Enter.
fetch_by_keyboard "$window" "$work/program/koyomivw.ini"
sleep 0.5

check_year_files

# The year selector has the focus: Down chooses the newest year, Down again the next one.
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Down
sleep 0.5
xdotool key Down
sleep 1
if [[ -n ${KOYOMI_E2E_SHOT:-} ]]; then
    import -window "$window" "$KOYOMI_E2E_SHOT"
fi
xdotool key alt+f
sleep 0.5
xdotool key c
sleep 1

check_clipboard lf

close_by_keyboard "$window"
grep -aq '^width=' "$work/program/koyomivw.ini" || fail "window size not saved"
echo "windows e2e: fetch, year files, LastTime, clipboard and exit all as expected"
