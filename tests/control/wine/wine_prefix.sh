#!/usr/bin/env bash
# The throwaway Wine prefix of the Wine tests, in steps that ctest orders:
#   wine_prefix.sh boot <prefix>               a fresh prefix (Mono and Gecko prompts skipped)
#   wine_prefix.sh register <prefix> <dll>     regsvr32 of the test control
#   wine_prefix.sh stop <prefix>               ends the prefix's wineserver
set -euo pipefail

step=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

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
stop)
    wineserver -k || true
    ;;
esac
