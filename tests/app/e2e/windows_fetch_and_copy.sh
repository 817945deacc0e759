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
here=$(cd "$(dirname "$0")" && pwd)
title="JRA 年間開催スケジュール"
work=$(mktemp -d)
trap 'kill "${app:-0}" 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

mkdir -p "$work/program" "$work/service" "$work/expected"
cp "$program_dir/koyomivw.exe" "$work/program/"
cp "$sample_service"/YSCH*.jvd "$work/service/"
printf '[download]\r\nms_per_file=0\r\n' >"$work/service/faults.ini"
# All months, so the whole year is listed whatever today is.
printf '[kikan]\r\nkikan=1\r\n' >"$work/program/koyomivw.ini"
python3 "$here/expected_year_files.py" "$work/service" "$work/expected"
# JVOpen's newest-data stamp is the newest service file's, "LastTime" its text.
newest=$(ls "$work/service" | sed -n 's/^YSCH\([0-9]\{14\}\)\.jvd$/\1/p' | sort | tail -1)
last_time="LastTime=${newest:0:4}/${newest:4:2}/${newest:6:2} ${newest:8:2}:${newest:10:2}:${newest:12:2}"
export JVLINK_SERVICE_DIR="$work/service"

source "$(dirname "$0")/e2e_helpers.sh"

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
xdotool key --window "$window" alt+f
sleep 0.5
xdotool key d
wait_for 20 sh -c "xdotool search --onlyvisible --name '$title' | wc -l | grep -qv '^1$'" ||
    fail "no opening box"
sleep 0.5
xdotool key Return
wait_for 90 grep -aq "^$last_time" "$work/program/koyomivw.ini" ||
    fail "fetch did not complete with $last_time: $(grep -a LastTime "$work/program/koyomivw.ini")"
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

xdotool key --window "$window" alt+f
sleep 0.5
xdotool key x
wait_for 20 sh -c "! kill -0 $app" || fail "the window did not close"
grep -aq '^width=' "$work/program/koyomivw.ini" || fail "window size not saved"
echo "windows e2e: fetch, year files, LastTime, clipboard and exit all as expected"
