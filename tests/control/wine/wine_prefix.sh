#!/usr/bin/env bash
# The throwaway Wine prefix of the Wine tests, in steps that ctest orders:
#   wine_prefix.sh boot <prefix>               a fresh prefix (Mono and Gecko prompts skipped)
#   wine_prefix.sh register <prefix> <dll>     regsvr32 of the test control
#   wine_prefix.sh run <prefix> <program> ...  a Windows program; its output and exit status
#   wine_prefix.sh display <prefix> <command…> runs the command on a new wineserver, so that
#                                              Wine's desktop starts on the display in force
#   wine_prefix.sh stop <prefix>               ends the prefix's wineserver
set -euo pipefail

step=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
# JV-Link is a 32-bit control; with wine64 installed a new prefix would be 64-bit.
export WINEARCH=win32
# No Mono or Gecko prompts, and no menu entries or icons written into the home folder.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Wine's background processes outlive the command and would hold ctest's output pipe open;
# their output goes to a log that is shown when a step fails.
log=$WINEPREFIX.log
quietly() {
    if ! "$@" >>"$log" 2>&1 </dev/null; then
        cat "$log" >&2
        exit 1
    fi
}

case $step in
boot)
    rm -rf "$WINEPREFIX" "$log"
    mkdir -p "$WINEPREFIX"
    # One wineserver for the whole run (kept 30 s after its last process, should the stop
    # step never come), so each host starts in a warm prefix.
    quietly wineserver -p30
    quietly wineboot --init
    ;;
register)
    quietly wine regsvr32 /s "Z:${3//\//\\}"
    ;;
run)
    shift 2
    # A display step restarts the prefix's wineserver, which would end this program midway:
    # programs share the prefix, a display step has it alone (and runs its own programs
    # inside). Only this shell holds the lock, never a wineserver that Wine leaves running.
    prefix_lock=-
    if [[ ${KOYOMI_WINE_PREFIX_ALONE:-} != "$WINEPREFIX" ]]; then
        exec {prefix_lock}>"$WINEPREFIX.lock"
        flock -s "$prefix_lock"
    fi
    # Through a file, for the same reason as above.
    output=$(mktemp "$WINEPREFIX.run.XXXXXX")
    status=0
    if [[ $prefix_lock == - ]]; then
        wine "$@" >"$output" 2>&1 </dev/null || status=$?
    else
        wine "$@" >"$output" 2>&1 </dev/null {prefix_lock}>&- || status=$?
    fi
    cat "$output"
    rm -f "$output"
    exit "$status"
    ;;
display)
    exec {prefix_lock}>"$WINEPREFIX.lock"
    flock -x "$prefix_lock"
    # A desktop started without a display gives every later window no driver at all.
    wineserver -k || true
    wineserver -w || true
    shift 2
    export KOYOMI_WINE_PREFIX_ALONE=$WINEPREFIX
    status=0
    "$@" {prefix_lock}>&- || status=$?
    exit "$status"
    ;;
stop)
    wineserver -k || true
    ;;
esac
