#!/usr/bin/env bash
# End to end with JV-Link under Wine (the test control) showing a window of its own during
# JVOpen: Esc on our window while it is up ends the fetch as a cancel (the control's window goes
# with its host, no box, no "LastTime", no year file, the program goes on); the next fetch starts
# a new host, its window is answered with OK, and the fetch completes.
# Usage, under Xvfb on the prefix's own wineserver (wine_prefix.sh display):
#   wine_control_window.sh PROGRAM_DIR SAMPLE_SERVICE_DIR PREFIX
set -euo pipefail

program_dir=$1
sample_service=$2
prefix=$3
title="JRA 年間開催スケジュール"
notice="JRA-VANからのお知らせ"
work=$(mktemp -d)
trap 'kill "${app:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

mkdir -p "$work/program" "$work/service" "$work/config" "$work/cache"
cp "$program_dir/koyomivw" "$program_dir/libjvlink.so" "$program_dir/jvlink-host.exe" \
    "$work/program/"
cp "$sample_service"/YSCH*.jvd "$work/service/"
# Longer than any wait below: only Esc or OK ends the window.
printf '[JVOpen]\r\ndialog_ms=60000\r\n[download]\r\nms_per_file=0\r\n' >"$work/service/faults.ini"
export JVLINK_BACKEND=wine WINEPREFIX=$prefix JVLINK_SERVICE_DIR="$work/service"
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset QT_QPA_PLATFORM

source "$(dirname "$0")/e2e_helpers.sh"

count_windows() {  # name: how many visible windows have it
    xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l
}

# File menu, fetch, the opening box confirmed; then the control's window comes up.
fetch_until_notice() {
    start_fetch_by_keyboard "$window"
    wait_for 30 xdotool search --onlyvisible --name "$notice" || fail "no window of the control"
}

"$work/program/koyomivw" &
app=$!
wait_for 30 xdotool search --onlyvisible --name "$title" || fail "no main window"
window=$(xdotool search --onlyvisible --name "$title" | head -1)
sleep 0.5

fetch_until_notice
sleep 1
xdotool windowfocus --sync "$window"
xdotool key --window "$window" Escape
wait_for 10 sh -c "[ \$(xdotool search --onlyvisible --name '$notice' | wc -l) -eq 0 ]" ||
    fail "the control's window stayed after Esc"
sleep 1
kill -0 "$app" || fail "the program ended"
[[ $(count_windows "$title") -eq 1 ]] || fail "a box after the cancel"
grep -q LastTime "$work/program/koyomivw.ini" 2>/dev/null && fail "LastTime saved by a cancel"
compgen -G "$work/program/*.jvYS" >/dev/null && fail "year files from a cancelled JVOpen"

fetch_until_notice
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "$notice" | head -1)"
xdotool key Return
wait_for 60 grep -q LastTime "$work/program/koyomivw.ini" || fail "the next fetch did not complete"
compgen -G "$work/program/*.jvYS" >/dev/null || fail "no year files from the next fetch"
echo "e2e: Esc under the control's window cancelled the fetch; the next one completed"
