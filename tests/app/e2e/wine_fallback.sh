#!/usr/bin/env bash
# When JV-Link under Wine, the saved choice, cannot be started, the program says why and offers
# the local data service before the presence box. Declined: the presence box, the program ends
# and the choice stays. Accepted (only where that is asked for): the main window opens with the
# local data service, which is now the saved choice.
# Usage: wine_fallback.sh PROGRAM_DIR no-wine             (wine not on PATH; declined, accepted)
#        wine_fallback.sh PROGRAM_DIR unregistered PREFIX (a prefix without the ProgID; declined)
set -euo pipefail

program_dir=$1
case_name=$2
title="JRA 年間開催スケジュール"
work=$(mktemp -d)
trap 'kill "${app:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

mkdir -p "$work/program" "$work/config/koyomivw-jvlink" "$work/cache" "$work/data"
cp "$program_dir/koyomivw" "$program_dir/libjvlink.so" "$work/program/"
[[ -e $program_dir/jvlink-host.exe ]] && cp "$program_dir/jvlink-host.exe" "$work/program/"
if [[ $case_name == unregistered ]]; then
    prefix=$3
    path=$PATH
else
    prefix=$work/prefix
    path=/nonexistent
fi
settings=$work/config/koyomivw-jvlink/settings.ini
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
unset QT_QPA_PLATFORM JVLINK_BACKEND WINEPREFIX JVLINK_SERVICE_DIR

source "$(dirname "$0")/e2e_helpers.sh"

start() {
    printf '[control]\nbackend=wine\n\n[wine]\nprefix=%s\n' "$prefix" >"$settings"
    PATH=$path "$work/program/koyomivw" &
    app=$!
    offer=$(next_window 60) || fail "no box"
    [[ $(windows | wc -l) -eq 1 ]] || fail "more than one window at start"
}

# Declined: the offer closes, the presence box follows, and the program ends.
start
xdotool windowfocus --sync "$offer" key Escape
presence=$(next_window 10 "$offer") || fail "no presence box after declining the offer"
xdotool windowfocus --sync "$presence" key Return
ended_within 10 || fail "the program did not end after the presence box"
wait "$app" || true
grep -q '^backend=wine' "$settings" || fail "declining changed the saved choice"

if [[ $case_name == no-wine ]]; then
    # Accepted: the local data service is saved and the main window opens.
    start
    xdotool windowfocus --sync "$offer" key Return
    main=$(next_window 20 "$offer") || fail "no window after accepting the offer"
    grep -q '^backend=service' "$settings" || fail "the local data service was not saved"
    # The presence box would end the program on Enter; the main window does not.
    xdotool windowfocus --sync "$main" key Return
    ! ended_within 2 || fail "the program ended: the presence box came instead of the main window"
    kill "$app"
    wait "$app" 2>/dev/null || true
fi
echo "wine fallback ($case_name): offer shown, declined to the presence box, accepted to the window"
