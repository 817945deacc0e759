# Shared by the end-to-end scripts, which source it after setting `work` (their scratch folder),
# `title` (the main window's title) where they look for windows, `app` (the program's process)
# before asking whether it ended, and `case_name` where one script runs several cases.

# Ends the test with the reason and a screenshot of the whole screen for the log's reader.
fail() {
    echo "FAIL${case_name:+ ($case_name)}: $*"
    import -window root "$work/failure.png" 2>/dev/null &&
        cp "$work/failure.png" /tmp/koyomivw-e2e-failure.png
    exit 1
}

# Runs the command every 0.1 s until it succeeds, for at most $1 seconds.
wait_for() {  # seconds, command...
    local limit=$1
    shift
    for ((i = 0; i < limit * 10; ++i)); do
        if "$@" >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# The visible windows with the program's title, one id a line.
windows() {
    xdotool search --onlyvisible --name "$title" 2>/dev/null || true
}

# Waits up to $1 seconds for a window other than $2 and prints its id.
next_window() {
    local id
    for ((i = 0; i < $1 * 10; ++i)); do
        id=$(windows | grep -vx "${2:-none}" | head -1 || true)
        [[ -n $id ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Whether the program ends within $1 seconds.
ended_within() {
    for ((i = 0; i < $1 * 10; ++i)); do
        kill -0 "$app" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# A scratch copy of the sample service in `$work/service` that serves at once, the year files a
# fetch of it must write in `$work/expected`, JVLINK_SERVICE_DIR pointing at it and `last_time`,
# the "LastTime" line that the fetch saves: JVOpen's newest-data stamp is the newest service
# file's.
serve_sample_copy() {  # sample_service_dir
    mkdir -p "$work/service" "$work/expected"
    cp "$1"/YSCH*.jvd "$work/service/"
    printf '[download]\r\nms_per_file=0\r\n' >"$work/service/faults.ini"
    python3 "$(dirname "${BASH_SOURCE[0]}")/expected_year_files.py" "$work/service" \
        "$work/expected"
    local newest
    newest=$(ls "$work/service" | sed -n 's/^YSCH\([0-9]\{14\}\)\.jvd$/\1/p' | sort | tail -1)
    last_time="LastTime=${newest:0:4}/${newest:4:2}/${newest:6:2} ${newest:8:2}:${newest:10:2}:${newest:12:2}"
    export JVLINK_SERVICE_DIR="$work/service"
}

# Starts a fetch by the keyboard in the main window $1: ﾌｧｲﾙ, D, the opening box confirmed with
# Enter.
start_fetch_by_keyboard() {  # window
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key --window "$1" alt+f
    sleep 0.5
    xdotool key d
    wait_for 20 sh -c "xdotool search --onlyvisible --name '$title' | wc -l | grep -qv '^1$'" ||
        fail "no opening box"
    sleep 0.5
    xdotool key Return
}

# Closes the main window $1 by the keyboard (ﾌｧｲﾙ, X) and waits up to 20 s for the program to
# end.
close_by_keyboard() {  # window
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key --window "$1" alt+f
    sleep 0.5
    xdotool key x
    ended_within 20 || fail "the window did not close"
}

# A fetch by the keyboard in the main window $1, finished when the settings file $2 holds
# `last_time`.
fetch_by_keyboard() {  # window settings_file
    start_fetch_by_keyboard "$1"
    wait_for 90 grep -aq "^$last_time" "$2" ||
        fail "fetch did not complete with $last_time: $(grep -a LastTime "$2")"
}

# The year files the fetch wrote into $1 (else beside the program, `$work/program`) are exactly
# the expected ones (`$work/expected`), byte for byte.
check_year_files() {  # [folder]
    local folder=${1:-$work/program} expected name
    for expected in "$work/expected"/*.jvYS; do
        name=$(basename "$expected")
        cmp "$expected" "$folder/$name" || fail "year file $name differs"
    done
    [[ $(ls "$folder"/*.jvYS | wc -l) -eq $(ls "$work/expected"/*.jvYS | wc -l) ]] ||
        fail "unexpected year files in $folder"
}

# The clipboard holds the table of the second-newest expected year, its lines ended by CR LF
# ($1 crlf) or LF ($1 lf: Wine hands the clipboard's CR LF to X as LF).
check_clipboard() {  # crlf|lf
    local clip year lines
    clip=$(xclip -o -selection clipboard | base64 -w0)
    year=$(ls "$work/expected" | sort -r | sed -n 2p | cut -c1-4)
    lines=$(wc -l <"$work/expected/${year}年ｽｹｼﾞｭｰﾙ.jvYS")
    python3 - "$clip" "$year" "$lines" "$1" <<'PY' || fail "clipboard text"
import base64, sys
text = base64.b64decode(sys.argv[1]).decode("utf-8")
year, lines = sys.argv[2], int(sys.argv[3])
line_end = {"crlf": "\r\n", "lf": "\n"}[sys.argv[4]]
rows = text.split(line_end)
assert rows[-1] == "", "no line end after the last line"
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
}
