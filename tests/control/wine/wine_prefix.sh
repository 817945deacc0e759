#!/usr/bin/env bash
# A throwaway Wine prefix of the Wine tests, in steps that ctest orders:
#   wine_prefix.sh boot <prefix> [win32|win64] a fresh prefix (Mono and Gecko prompts skipped),
#                                              32-bit unless win64 is asked for
#   wine_prefix.sh register <prefix> <dll>     regsvr32 of the test control (the 64-bit one
#                                              in a 64-bit prefix for a 64-bit DLL)
#   wine_prefix.sh run <prefix> <program> ...  a Windows program; its output and exit status
#   wine_prefix.sh display <prefix> <command…> runs the command on a new wineserver, so that
#                                              Wine's desktop starts on the display in force
#   wine_prefix.sh stop <prefix>               ends the prefix's wineserver
set -euo pipefail

step=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
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
    # The long-standing JV-Link is a 32-bit control; with wine64 installed a new prefix would
    # be 64-bit unless told. Later steps take the architecture from the prefix itself.
    export WINEARCH=${3:-win32}
    # A 64-bit prefix made while a display is visible can end with a 32-bit half that is
    # nearly empty, in which 32-bit programs hang. A 32-bit one booted on a display keeps it, so
    # that a test that boots its own prefix under Xvfb gets windows.
    if [[ $WINEARCH == win64 ]]; then
        unset DISPLAY
    fi
    rm -rf "$WINEPREFIX" "$log"
    mkdir -p "$WINEPREFIX"
    # One wineserver for the whole run (kept 30 s after its last process, should the stop
    # step never come), so each host starts in a warm prefix.
    quietly wineserver -p30
    quietly wineboot --init
    if [[ $WINEARCH == win64 && ! -f $WINEPREFIX/drive_c/windows/syswow64/kernel32.dll ]]; then
        echo "wine_prefix.sh: the 64-bit prefix $WINEPREFIX has no 32-bit half" >&2
        exit 1
    fi
    ;;
register)
    quietly wine regsvr32 /s "Z:${3//\//\\}"
    # In a 64-bit prefix the client reads the registry file to choose its host, and the server
    # writes that file only now and then and when it ends (as it has once a real control's
    # installer is done): end it, then start the warm one again, with Wine's background
    # processes, whose output goes to the log. Whatever else runs in the prefix must wait.
    if [[ -d $WINEPREFIX/drive_c/windows/syswow64 ]]; then
        quietly wineserver -k
        quietly wineserver -w
        quietly wineserver -p30
        quietly wineboot
    fi
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
