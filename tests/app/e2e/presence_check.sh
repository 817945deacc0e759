#!/usr/bin/env bash
# Without the JV-Link control beside it, the program tells the user to install JV-Link and
# ends without opening its window. Usage: presence_check.sh PROGRAM_DIR
set -euo pipefail

work=$(mktemp -d)
trap 'kill "${app:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$1/koyomivw" "$work/"
unset QT_QPA_PLATFORM

"$work/koyomivw" &
app=$!
for ((i = 0; i < 100; ++i)); do
    box=$(xdotool search --onlyvisible --name "JRA 年間開催スケジュール" 2>/dev/null | head -1 || true)
    [[ -n $box ]] && break
    sleep 0.1
done
[[ -n $box ]] || { echo "FAIL: no message box"; exit 1; }
# The only window is the box: no menu bar means no main window was made.
[[ $(xdotool search --onlyvisible --name "JRA 年間開催スケジュール" | wc -l) -eq 1 ]] ||
    { echo "FAIL: more than the message box"; exit 1; }
xdotool windowfocus --sync "$box" key Return
for ((i = 0; i < 50; ++i)); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app" 2>/dev/null; then
    echo "FAIL: the program did not end"
    exit 1
fi
wait "$app"
[[ ! -e $work/koyomivw.ini ]] || { echo "FAIL: a settings file was written"; exit 1; }
echo "presence check: message shown, program ended, nothing written"
