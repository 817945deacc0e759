#!/usr/bin/env bash
# The Debian package as a user gets it: made with CPack from a configured build, checked with
# desktop-file-validate, appstreamcli and lintian, unpacked into a temporary root and run from
# there under Xvfb with a temporary HOME, as root and as an ordinary user. Each run fetches the
# bundled sample service; the year files must land in the data folder, the settings in the
# configuration folder, and nothing under the unpacked root may change. Last, a copy of the
# program folder without the install marker, in a folder it may write, keeps everything beside
# itself.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
started=$(date +%s)

# World-traversable, wherever the clone lies, so that the ordinary user reaches the root.
base=$(mktemp -d /tmp/koyomivw-package.XXXXXX)
chmod 755 "$base"
xvfb_pid=
app=
cleanup() {
    [[ -n $app ]] && kill "$app" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$base"
}
trap cleanup EXIT

work=$base
title="JRA 年間開催スケジュール"
source "$here/../app/e2e/e2e_helpers.sh"

echo "== package"
cpack -G DEB -B "$base/out" --config "$build/CPackConfig.cmake" >"$base/cpack.log" 2>&1 ||
    { cat "$base/cpack.log"; fail "cpack"; }
deb=$(ls "$base"/out/koyomivw_*_*.deb)
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-ipafont-gothic' || fail "no font dependency"
dpkg-deb -f "$deb" Depends | grep -q 'qt6-qpa-plugins' || fail "no platform plugin dependency"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no library dependencies"
dpkg-deb -f "$deb" Recommends | grep -q 'qt6-translations-l10n' || fail "no translations"

root="$base/root"
dpkg-deb -x "$deb" "$root"
[[ $(readlink "$root/usr/bin/koyomivw") == ../lib/koyomivw/koyomivw ]] || fail "bin/koyomivw link"
for size in 16 22 24 32 48 64 128 256; do
    [[ -s $root/usr/share/icons/hicolor/${size}x${size}/apps/koyomivw.png ]] || fail "icon $size"
done

echo "== desktop entry, metainfo, lintian"
desktop-file-validate "$root/usr/share/applications/koyomivw.desktop" || fail "desktop entry"
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "${metainfo[0]}" >"$base/appstream.log" 2>&1 || true
cat "$base/appstream.log"
if grep '^E:' "$base/appstream.log"; then
    fail "appstreamcli"
fi
lintian --allow-root "$deb" >"$base/lintian.log" 2>&1 || true
cat "$base/lintian.log"
# The maintainer field needs an e-mail address the project does not have yet.
if grep '^E:' "$base/lintian.log" | grep -v 'malformed-contact Maintainer'; then
    fail "lintian"
fi

listing() {
    find "$root" -printf '%p %y %s %T@ %m %l\n' | sort
}
listing >"$base/before"

echo "== the unpacked program under Xvfb"
unset QT_QPA_PLATFORM JVLINK_SERVICE_DIR XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac 3>"$base/display" 2>/dev/null &
xvfb_pid=$!
wait_for 10 test -s "$base/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$base/display")"
mkdir "$base/expected"
python3 "$here/../app/e2e/expected_year_files.py" "$root/usr/lib/koyomivw/sample-service" \
    "$base/expected"

# as_user: a command prefix ("" for this process's user).
run_and_fetch() {  # label, home, data folder, settings file, command prefix...
    local label=$1 home=$2 data=$3 settings=$4
    shift 4
    case_name=$label
    "$@" env HOME="$home" "${extra_env[@]}" "$root/usr/bin/koyomivw" >"$base/$label.out" 2>&1 &
    app=$!
    wait_for 20 xdotool search --name "$title" || fail "no main window"
    local window
    window=$(xdotool search --name "$title" | head -1)
    sleep 0.5
    start_fetch_by_keyboard "$window"
    wait_for 60 grep -q LastTime "$settings" || fail "fetch did not complete"
    sleep 0.5
    check_year_files "$data"
    xdotool windowfocus --sync "$window"
    xdotool key --window "$window" alt+f
    sleep 0.3
    xdotool key x
    wait_for 10 sh -c "! kill -0 $app" || fail "the window did not close"
    app=
    grep -q '^width=' "$settings" || fail "window size not saved"
    echo "$label: $(ls "$data" | wc -l) year files in $data, settings in $settings"
}

# Root, with the XDG variables set.
home="$base/home-root"
mkdir -p "$home"
extra_env=(XDG_DATA_HOME="$home/xdg-data" XDG_CONFIG_HOME="$home/xdg-config"
           XDG_CACHE_HOME="$home/xdg-cache")
if [[ $(id -u) -eq 0 ]]; then
    run_and_fetch root "$home" "$home/xdg-data/koyomivw" "$home/xdg-config/koyomivw/koyomivw.ini"

    # An ordinary user, with the default folders below the home folder.
    user=nobody
    if id -u "$user" >/dev/null 2>&1; then
        home="$base/home-user"
        mkdir -p "$home"
        chown "$user:" "$home"
        extra_env=()
        run_and_fetch user "$home" "$home/.local/share/koyomivw" \
            "$home/.config/koyomivw/koyomivw.ini" \
            setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups
        [[ $(stat -c %U "$home/.local/share/koyomivw") == "$user" ]] || fail "data folder owner"
    else
        echo "no user '$user': the ordinary user's run is left out"
    fi
else
    run_and_fetch user "$home" "$home/xdg-data/koyomivw" "$home/xdg-config/koyomivw/koyomivw.ini"
fi

listing >"$base/after"
diff "$base/before" "$base/after" || fail "the unpacked root changed"

echo "== a portable copy"
portable="$base/portable/koyomivw"
mkdir -p "$base/portable"
cp -a "$root/usr/lib/koyomivw" "$portable"
rm "$portable/koyomivw-installed"
home="$base/home-portable"
mkdir -p "$home"
HOME="$home" XDG_CACHE_HOME="$home/cache" "$portable/koyomivw" >"$base/portable.out" 2>&1 &
app=$!
case_name=portable
wait_for 20 xdotool search --name "$title" || fail "no main window"
window=$(xdotool search --name "$title" | head -1)
xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key --window "$window" alt+f
sleep 0.3
xdotool key x
wait_for 10 sh -c "! kill -0 $app" || fail "the window did not close"
app=
grep -q '^width=' "$portable/koyomivw.ini" || fail "settings not beside the program"
[[ ! -e $home/.local/share/koyomivw && ! -e $home/.config/koyomivw ]] ||
    fail "wrote into the home folder"

echo "package checks passed in $(($(date +%s) - started)) s"
