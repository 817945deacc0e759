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
