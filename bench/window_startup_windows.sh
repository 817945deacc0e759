#!/usr/bin/env bash
# Measures the Win32 window under Wine on Xvfb: time from start to the first painted window of
# PROGRAM.exe and, in the same run and taking turns with it, of a bare Win32 window with the
# same menus, selectors and an empty 14-column list view; reports both medians and their ratio
# (target at most 1.5). PROGRAM defaults to the widget test window (a year of rows); with
# PROGRAM "none" only the bare window is measured. koyomivw.exe needs a JV-Link: TEST_CONTROL,
# our test control (jvlink-test-control.dll), is then registered in the benchmark's prefix, and
# the program runs from a scratch copy of its folder, so that it writes nothing into the build.
#   Usage: bench/window_startup_windows.sh [BUILD_DIR] [RUNS] [PROGRAM] [TEST_CONTROL]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win32}
runs=${2:-10}
program=${3:-$build/tests/win32_window_shot.exe}
test_control=${4:-}
bare=$build/bench/koyomi_bare_window_win32.exe
if [[ ! -f $bare ]]; then
    cmake -S "$root/src/app/win32" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$build" -j2 --target koyomi_bare_window_win32 win32_window_shot
fi
if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s '-screen 0 1280x900x24' "$0" "$build" "$runs" "$program" "$test_control"
fi

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" KOYOMIVW_REPORT_FIRST_PAINT=1
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wineboot --init >/dev/null 2>&1
if [[ -n $test_control ]]; then
    wine regsvr32 /s "Z:${test_control//\//\\}" >/dev/null 2>&1
    export JVLINK_SERVICE_DIR=$root/sample-service
    mkdir -p "$work/program"
    cp "$program" "$work/program/"
    program=$work/program/$(basename "$program")
fi
# Both programs start with a running wineserver, as a user's second start would.
wineserver -p 60 || true

# Starts a program and waits for its first paint; leaves the milliseconds in $elapsed.
first_paint() {
    local start painted app
    : >"$work/out"
    start=$(date +%s%3N)
    wine "$1" >>"$work/out" 2>/dev/null &
    app=$!
    for ((i = 0; i < 1000; ++i)); do
        grep -q first-paint "$work/out" && break
        sleep 0.01
    done
    painted=$(awk '/first-paint/ {sub(/\r$/, ""); print $2}' "$work/out")
    elapsed=$((painted - start))
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    # The Windows process may outlive its wine launcher; end it before the next start.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p 60 || true
}

median() {
    printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

timings=()
bare_timings=()
for ((run = 0; run < runs; ++run)); do
    first_paint "$bare"
    bare_timings+=("$elapsed")
    if [[ $program != none ]]; then
        first_paint "$program"
        timings+=("$elapsed")
    fi
done
bare_median=$(median "${bare_timings[@]}")
echo "bare Win32 window, start to first paint (ms, $runs runs): $(printf '%s\n' \
    "${bare_timings[@]}" | sort -n | tr '\n' ' ')"
echo "bare median: ${bare_median} ms"
if [[ $program != none ]]; then
    program_median=$(median "${timings[@]}")
    echo "$(basename "$program") (ms): $(printf '%s\n' "${timings[@]}" | sort -n | tr '\n' ' ')"
    echo "median: ${program_median} ms; ratio $(awk -v p="$program_median" -v b="$bare_median" \
        'BEGIN {printf "%.2f", p / b}') (target at most 1.5)"
fi
