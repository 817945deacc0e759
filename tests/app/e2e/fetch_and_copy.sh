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

for expected in "$work/expected"/*.jvYS; do
    name=$(basename "$expected")
    cmp "$expected" "$work/program/$name" || fail "year file $name differs"
done
[[ $(ls "$work/program"/*.jvYS | wc -l) -eq $(ls "$work/expected"/*.jvYS | wc -l) ]] ||
    fail "unexpected year files"

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

clip=$(xclip -o -selection clipboard | base64 -w0)
year=$(ls "$work/expected" | sort -r | sed -n 2p | cut -c1-4)
lines=$(wc -l <"$work/expected/${year}年ｽｹｼﾞｭｰﾙ.jvYS")
python3 - "$clip" "$year" "$lines" <<'PY' || fail "clipboard text"
import base64, sys
text = base64.b64decode(sys.argv[1]).decode("utf-8")
year, lines = sys.argv[2], int(sys.argv[3])
rows = text.split("\r\n")
assert rows[-1] == "", "no CR LF after the last line"
rows = rows[:-1]
assert rows[0] == f"{year}年 スケジュール【ALL】", rows[0]
assert rows[1] == "\t".join(["No.", "年月日", "曜日", "場所", "回", "日", "ｸﾞﾚｰﾄﾞ", "種別", "記号",
                             "重量", "距離", "ﾄﾗｯｸ", "重賞回", "レース名"]), rows[1]
assert len(rows) == 2 + lines, (len(rows), lines)
for number, row in enumerate(rows[2:], start=1):
    cells = row.split("\t")
    assert len(cells) == 14, row
    assert cells[0] == f"{number:3d}", cells[0]
    assert cells[1].startswith(f"{year}年"), cells[1]
print(f"clipboard: {len(rows)} lines for {year}")
PY

xdotool key --window "$window" alt+f
sleep 0.3
xdotool key x
wait_for 10 sh -c "! kill -0 $app" || fail "the window did not close"
grep -q '^width=' "$work/program/koyomivw.ini" || fail "window size not saved"
echo "e2e: fetch, year files, clipboard and exit all as expected"
