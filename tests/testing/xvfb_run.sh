#!/usr/bin/env bash
# Runs a command on an X server of its own, taking the options of xvfb-run the tests use
# (-a, -s "<server arguments>"). Debian's xvfb-run picks a display number from the lock files
# and goes on even when its server failed to start on it, so a test could meet "could not
# connect to display" right after another server went away; here the server picks a free
# number itself (-displayfd) and the command runs only once the server answers. Neither does
# the server reset when its last client goes (-noreset): a test that starts the program again
# right after it ended could otherwise connect during the reset and be refused.
set -euo pipefail

server_arguments="-screen 0 1024x768x24"
while (($#)); do
    case $1 in
    -a) shift ;;
    -s) server_arguments=$2; shift 2 ;;
    *) break ;;
    esac
done
(($#)) || { echo "usage: xvfb_run.sh [-a] [-s \"<server arguments>\"] command..." >&2; exit 2; }

work=$(mktemp -d)
server=
stop_server() {
    [[ -n $server ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap stop_server EXIT

# shellcheck disable=SC2086 # the server's arguments are words
Xvfb -displayfd 3 -nolisten tcp -noreset $server_arguments 3>"$work/display" 2>"$work/server.log" &
server=$!
for ((i = 0; i < 100; ++i)); do
    if [[ -s $work/display ]] && [[ $(<"$work/display") == *[0-9] ]]; then
        break
    fi
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
number=$(tr -dc 0-9 <"$work/display")
if [[ -z $number ]]; then
    echo "xvfb_run.sh: the X server did not start" >&2
    cat "$work/server.log" >&2
    exit 1
fi
export DISPLAY=:$number
unset XAUTHORITY
status=0
"$@" || status=$?
exit "$status"
