#!/usr/bin/env bash
# koyomivw.exe under Wine in a prefix of its own, where JV-Link is not registered: the presence
# box comes and asks about the bundled sample data. Enter (its default "いいえ") ends the
# program and saves nothing; "はい" saves the local data service and opens the window on the
# sample data, and JV Link 設定 there goes back to JV-Link. Run it on a display (xvfb-run):
# the prefix is booted there, so that Wine's windows have one.
# Usage: windows_presence.sh WINDOWS_PROGRAM_DIR
set -euo pipefail

program_dir=$1
if [[ ! -e $program_dir/koyomivw.exe ]]; then
    echo "FAIL: no $program_dir/koyomivw.exe"
    exit 1
fi
prefix_script=$(dirname "$0")/../../control/wine/wine_prefix.sh
title="JRA 年間開催スケジュール"
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset JVLINK_SERVICE_DIR JVLINK_BACKEND
cleanup() {
    kill "${app:-0}" 2>/dev/null || true
    "$prefix_script" stop "$WINEPREFIX"
    rm -rf "$work" "$WINEPREFIX.log"
}
trap cleanup EXIT
"$prefix_script" boot "$WINEPREFIX"
# A copy of its own, whose data folder is beside it: so are the local data service's settings.
cp -r "$program_dir/koyomivw.exe" "$program_dir/sample-service" "$work/"
settings=$work/koyomivw-jvlink/settings.ini

source "$(dirname "$0")/e2e_helpers.sh"

start() {
    wine "$work/koyomivw.exe" >/dev/null 2>&1 </dev/null &
    app=$!
    box=$(next_window 60) || fail "no presence box"
    sleep 0.5  # the box takes keys once Wine has shown it
}

# Enter: the default button ends the program, with status 0, and nothing is chosen.
start
xdotool windowfocus --sync "$box" key Return
ended_within 10 || fail "the program did not end on Enter in the presence box"
status=0
wait "$app" || status=$?
[[ $status -eq 0 ]] || fail "the program ended with $status"
[[ ! -e $settings ]] || fail "declining saved a choice"

# "はい", the button before the default: the window opens on the local data service.
start
xdotool windowfocus --sync "$box" key shift+Tab space
main=$(next_window 20 "$box") || fail "no window after \"はい\""
grep -q '^backend=service' "$settings" ||
    fail "the local data service was not saved"
! ended_within 2 || fail "the program ended instead of showing its window"

# JV Link 設定 from the window (ﾌｧｲﾙ, S) chooses JV-Link again (the radio button before the
# local data service, OK the default); the next start asks again.
xdotool windowfocus --sync "$main" key alt+f s
dialog=$(xdotool search --sync --onlyvisible --name "JV-Link 設定" | head -1)
xdotool windowfocus --sync "$dialog" key Up Return
for ((i = 0; i < 50; ++i)); do
    grep -q '^backend=' "$settings" || break
    sleep 0.1
done
! grep -q '^backend=' "$settings" || fail "JV Link 設定 did not choose JV-Link again"
kill "$app"
wait "$app" 2>/dev/null || true
start
xdotool windowfocus --sync "$box" key Return
ended_within 10 || fail "the presence box did not come back after choosing JV-Link"
echo "presence box: Enter ends the program; \"はい\" opens the window on the sample data;" \
    "JV Link 設定 goes back to JV-Link"
