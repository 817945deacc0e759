#!/usr/bin/env bash
# Measures the real program under Xvfb: time from start to the first painted window, and
# resident memory with a full year shown. In the same run, and taking turns with it, a bare Qt
# window with the same menus, selectors and an empty 14-column table is started the same way,
# and the ratio of the two medians reported. With a Wine prefix that has the control registered
# (as the Wine tests make it), the program uses JV-Link under Wine there.
# Usage: bench/window_startup.sh [BUILD_DIR] [RUNS] [WINE_PREFIX]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
runs=${2:-10}
wine_prefix=${3:-}
if [[ ! -x $build/program/koyomivw || ! -x $build/bench/koyomi_bare_window ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j "$(nproc)" --target koyomivw koyomi_bare_window
fi
if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$build" "$runs" "$wine_prefix"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/config" "$work/cache"
cp "$build/program/koyomivw" "$build/program/libjvlink.so" "$work/program/"
cp "$build/bench/koyomi_bare_window" "$work/"
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" KOYOMIVW_REPORT_FIRST_PAINT=1
unset QT_QPA_PLATFORM
if [[ -n $wine_prefix ]]; then
    cp "$build/program/jvlink-host.exe" "$work/program/"
    export JVLINK_BACKEND=wine WINEPREFIX=$wine_prefix WINEDEBUG=-all
else
    unset JVLINK_BACKEND
fi
# A year file of 366 meeting days, shown whole.
python3 - "$work/program" <<'PY'
import datetime, pathlib, sys
day = datetime.date(2024, 1, 1)
lines = []
while day.year == 2024:
    name = "テストステークス".encode("cp932").ljust(60, b" ")
    line = (b"YS000000000" + day.strftime("%Y%m%d").encode() + b"0501011" + b"1234" + name)
    line = line.ljust(128, b" ") + b"045A13N014160017"
    lines.append(line.ljust(380, b"0"))
    day += datetime.timedelta(days=1)
path = pathlib.Path(sys.argv[1]) / "2024年ｽｹｼﾞｭｰﾙ.jvYS"
path.write_bytes(b"".join(l + b"\r\n" for l in lines))
PY
printf '[kikan]\r\nkikan=1\r\n' >"$work/program/koyomivw.ini"

# Starts a program and waits for its first paint; leaves the milliseconds in $elapsed and its
# pid in $app.
first_paint() {
    local start painted
    : >"$work/out"  # emptied here, so the wait below never reads the previous run's line
    start=$(date +%s%3N)
    "$@" >>"$work/out" 2>/dev/null &
    app=$!
    for ((i = 0; i < 500; ++i)); do
        grep -q first-paint "$work/out" && break
        sleep 0.02
    done
    painted=$(awk '/first-paint/ {print $2}' "$work/out")
    elapsed=$((painted - start))
}

median() {
    printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

timings=()
bare_timings=()
for ((run = 0; run < runs; ++run)); do
    first_paint "$work/koyomi_bare_window"
    bare_timings+=("$elapsed")
    kill "$app"
    wait "$app" 2>/dev/null || true
    first_paint "$work/program/koyomivw"
    timings+=("$elapsed")
    if ((run == runs - 1)); then
        window=$(xdotool search --name "JRA 年間開催スケジュール" | head -1)
        xdotool windowfocus --sync "$window" key Down
        sleep 1.5
        rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
    fi
    kill "$app"
    wait "$app" 2>/dev/null || true
done
sorted=$(printf '%s\n' "${timings[@]}" | sort -n | tr '\n' ' ')
bare_sorted=$(printf '%s\n' "${bare_timings[@]}" | sort -n | tr '\n' ' ')
program_median=$(median "${timings[@]}")
bare_median=$(median "${bare_timings[@]}")
echo "start to first painted window (ms, $runs runs): $sorted"
echo "median: ${program_median} ms (target < 400 ms)"
echo "bare Qt window, same run (ms): $bare_sorted"
echo "bare median: ${bare_median} ms; ratio $(awk -v p="$program_median" -v b="$bare_median" \
    'BEGIN {printf "%.2f", p / b}') (target at most 1.5)"
echo "resident memory with a full year shown: $((rss / 1024)) MB ($rss kB; target < 80 MB)"
