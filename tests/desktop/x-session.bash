# Helpers for driving the real quillvane window on a private X server: Xvfb with openbox as the
# window manager, real input through XTEST (xdotool), the details pane read back through the X
# selection (xclip). Sourced by the desktop tests and by bench/window-vs-cli.
#
# Positions: the window's layout is drawn in twips, 15 to a pixel; px TWIPS gives the nearest
# pixel. Pointer positions are pixels in the window's client area.
#
# Every wait is bounded; what cannot start (no Xvfb, no openbox, no display) ends the caller
# with exit status 77, which ctest reports as a skip.

readonly skipped=77

# Everything this session started, ended in reverse order on exit.
x_pids=()
x_tmp=""
x_window=""
x_app_pid=""
x_xvfb=""
x_openbox=""

skip() {
    echo "SKIP: $*" >&2
    exit "$skipped"
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

px() {
    echo $((($1 + 7) / 15))
}

x_require_tools() {
    local tool missing=()
    for tool in Xvfb openbox xdotool xclip xprop xwininfo timeout; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        skip "needs ${missing[*]} (Debian: xvfb openbox xdotool xclip x11-utils)"
    fi
}

x_cleanup() {
    local i pid
    for ((i = ${#x_pids[@]} - 1; i >= 0; i--)); do
        pid=${x_pids[i]}
        kill -TERM "$pid" 2>/dev/null || continue
        for _ in $(seq 40); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    x_pids=()
    if [ -n "$x_tmp" ]; then
        rm -rf "$x_tmp"
    fi
}

# wait_until SECONDS WHAT COMMAND...: runs COMMAND every 20 ms until it succeeds; returns 1
# (after saying what was awaited) when SECONDS pass first.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "timed out after ${seconds} s waiting for $what" >&2
            return 1
        fi
        sleep 0.02
    done
}

# Starts Xvfb on a free display and openbox on it; exports DISPLAY. openbox draws a frame of
# 6 pixels left and right, 27 above and 15 below, as wide as common desktop frames. Within the
# default theme's 1-pixel border the start size (529 x 369 px) would make an outer size below
# the window's minimum (8100 x 5900 twips, 540 x 394 px), which rightly widens the window.
x_start() {
    x_require_tools
    x_tmp=$(mktemp -d "${TMPDIR:-/tmp}/quillvane-x.XXXXXX")
    trap x_cleanup EXIT
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM

    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$x_tmp/display" >"$x_tmp/xvfb.log" 2>&1 &
    x_pids+=($!)
    x_xvfb=$!
    if ! wait_until 10 "Xvfb to choose a display" x_display_chosen_or_failed ||
        ! kill -0 "$x_xvfb" 2>/dev/null; then
        skip "cannot start an X server (Xvfb): $(tail -n 3 "$x_tmp/xvfb.log" | tr '\n' ' ')"
    fi
    DISPLAY=":$(head -n 1 "$x_tmp/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY XAUTHORITY
    export XDG_RUNTIME_DIR="$x_tmp/runtime" XDG_CONFIG_HOME="$x_tmp/config"
    export XDG_DATA_HOME="$x_tmp/data" XDG_CACHE_HOME="$x_tmp/cache"
    mkdir -m 700 "$XDG_RUNTIME_DIR"

    mkdir -p "$XDG_DATA_HOME/themes/quillvane-test/openbox-3"
    printf '%s\n' 'border.width: 3' 'window.client.padding.width: 3' \
        'window.client.padding.height: 3' \
        >"$XDG_DATA_HOME/themes/quillvane-test/openbox-3/themerc"
    cat >"$x_tmp/openbox.xml" <<'EOF'
<?xml version="1.0"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <theme><name>quillvane-test</name></theme>
</openbox_config>
EOF
    openbox --config-file "$x_tmp/openbox.xml" --sm-disable >"$x_tmp/openbox.log" 2>&1 &
    x_pids+=($!)
    x_openbox=$!
    if ! wait_until 10 "openbox to manage the screen" x_window_manager_running_or_failed ||
        ! kill -0 "$x_openbox" 2>/dev/null; then
        skip "cannot start openbox: $(tail -n 3 "$x_tmp/openbox.log" | tr '\n' ' ')"
    fi
}

x_display_chosen_or_failed() {
    grep -qs '^[0-9]' "$x_tmp/display" || ! kill -0 "$x_xvfb" 2>/dev/null
}

x_window_manager_running_or_failed() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        ! kill -0 "$x_openbox" 2>/dev/null
}

# x_start_app APP DIRECTORY: starts the window in DIRECTORY and waits until openbox has framed
# it and it is viewable; sets x_window and x_app_pid.
x_start_app() {
    local app directory=$2
    app=$(realpath "$1")
    (cd "$directory" && QT_QPA_PLATFORM=xcb exec "$app" >"$x_tmp/app.log" 2>&1) &
    x_app_pid=$!
    x_pids+=("$x_app_pid")
    wait_until 20 "the window \"Quillvane\" to be mapped" x_find_window ||
        fail "no window; the program said: $(tail -n 5 "$x_tmp/app.log" | tr '\n' ' ')"
    wait_until 10 "openbox to frame the window" x_framed ||
        fail "the window has no frame"
}

x_find_window() {
    kill -0 "$x_app_pid" 2>/dev/null || fail "the program ended: $(tail -n 5 "$x_tmp/app.log")"
    x_window=$(xdotool search --all --onlyvisible --pid "$x_app_pid" --name '^Quillvane$' 2>/dev/null |
        head -n 1) && [ -n "$x_window" ]
}

x_framed() {
    xprop -id "$x_window" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '= [0-9]' &&
        xwininfo -id "$x_window" | grep -q 'IsViewable'
}

# x_client_size: "WIDTH HEIGHT" of the window's client area.
x_client_size() {
    xwininfo -id "$x_window" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}'
}

# x_frame_extents: "LEFT RIGHT TOP BOTTOM" of the frame the window manager put around it.
x_frame_extents() {
    xprop -id "$x_window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'
}

# x_settled: waits until the client size has stayed the same for 0.3 s (at most 5 s), so that
# a size the program sets in answer to the window manager is seen.
x_settled() {
    local last now deadline=$((SECONDS + 5))
    last=$(x_client_size)
    while [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.3
        now=$(x_client_size)
        [ "$now" = "$last" ] && return 0
        last=$now
    done
}

# x_click X Y [BUTTON]: moves the pointer to pixel (X, Y) of the client area and clicks.
x_click() {
    xdotool mousemove --window "$x_window" "$1" "$2" click --delay 0 "${3:-1}"
}

# The details pane: FontDetails at twips (15, 3240), 7905 wide. A point inside it, clear of
# the scroll bar.
pane_x=$(px 1500)
pane_y=$(px 3600)

# pane_text: the pane's whole text, read the way a user would copy it: a click into the pane,
# Ctrl+A (which makes the selection the X PRIMARY selection), and the selection's content.
# PRIMARY is first taken by a marker, so a selection the pane did not make is never read.
#
# openbox holds each click on a window until it has raised and focused it, while keys go
# straight to the window: a Ctrl+A sent right after the click can arrive before it, where the
# keyboard focus still is. So Ctrl+A is repeated until the pane has made the selection.
pane_text() {
    local marker="quillvane-test: nothing selected $RANDOM" holder text="" attempt
    printf '%s' "$marker" | xclip -selection primary -quiet -i >/dev/null 2>&1 &
    holder=$!
    wait_until 5 "xclip to hold the selection" primary_is "$marker" || return 1
    x_click "$pane_x" "$pane_y"
    for attempt in $(seq 50); do
        xdotool key --delay 0 ctrl+a
        text=$(timeout 5 xclip -o -selection primary 2>/dev/null | tr -d '\r') || true
        [ "$text" != "$marker" ] && break
        sleep 0.05
    done
    kill "$holder" 2>/dev/null || true
    wait "$holder" 2>/dev/null || true
    if [ "$text" = "$marker" ]; then
        echo "the details pane made no selection on Ctrl+A ($attempt tries)" >&2
        return 1
    fi
    printf '%s\n' "$text"
}

primary_is() {
    [ "$(timeout 2 xclip -o -selection primary 2>/dev/null)" = "$1" ]
}

# pane_file DIRECTORY: the name of the file in DIRECTORY whose report the pane shows (every
# report names the font file by its full path), or "(none)".
pane_file() {
    local directory=$1 text line
    text=$(pane_text) || return 1
    while IFS= read -r line; do
        if [[ $line == *"$directory/"* ]]; then
            line=${line##*"$directory/"}
            printf '%s\n' "${line%% *}"
            return 0
        fi
    done <<<"$text"
    echo "(none)"
}
