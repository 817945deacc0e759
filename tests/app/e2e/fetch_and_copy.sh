#!/usr/bin/env bash
# End to end, as a user: start the real program under Xvfb in a scratch program folder with a
# scratch data service, fetch with the keyboard, choose a year, copy the table, and check the
# clipboard text and the year files byte for byte.
# Usage: fetch_and_copy.sh PROGRAM_DIR SAMPLE_SERVICE_DIR
set -euo pipefail

program_dir=$1
sample_service=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill "${app:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

mkdir -p "$work/program" "$work/service" "$work/expected" "$work/config" "$work/cache"
cp "$program_dir/koyomivw" "$program_dir/libjvlink.so" "$work/program/"
cp "$sample_service"/YSCH*.jvd "$work/service/"
printf '[download]\r\nms_per_file=0\r\n' >"$work/service/faults.ini"
# All months, so the whole year is listed whatever today is.
printf '[kikan]\r\nkikan=1\r\n' >"$work/program/koyomivw.ini"
python3 "$here/expected_year_files.py" "$work/service" "$work/expected"

export JVLINK_SERVICE_DIR="$work/service"
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset QT_QPA_PLATFORM

source "$(dirname "$0")/e2e_helpers.sh"

"$work/program/koyomivw" &
app=$!
wait_for 20 xdotool search --name "JRA 年間開催スケジュール" || fail "no main window"
window=$(xdotool search --name "JRA 年間開催スケジュール" | head -1)
xdotool windowfocus --sync "$window"
sleep 0.5

# File menu, fetch; the opening box is confirmed with Enter.
xdotool key --window "$window" alt+f
sleep 0.3
xdotool key d
wait_for 10 sh -c "xdotool search --onlyvisible --name 'JRA 年間開催スケジュール' | wc -l | grep -qv '^1$'" ||
    fail "no opening box"
sleep 0.3
xdotool key Return
wait_for 60 grep -q LastTime "$work/program/koyomivw.ini" || fail "fetch did not complete"
sleep 0.5

check_year_files

# The year selector has the focus: Down chooses the newest year, Down again the next one.
xdotool windowfocus --sync "$window"
xdotool key Down
sleep 0.3
xdotool key Down
sleep 0.5
xdotool key alt+f
sleep 0.3
xdotool key c
sleep 0.5

check_clipboard crlf

xdotool key --window "$window" alt+f
sleep 0.3
xdotool key x
wait_for 10 sh -c "! kill -0 $app" || fail "the window did not close"
grep -q '^width=' "$work/program/koyomivw.ini" || fail "window size not saved"
echo "e2e: fetch, year files, clipboard and exit all as expected"
