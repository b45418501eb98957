# Shared by the project's scripts: a virtual display with a window manager when there is no
# display, and a Wine prefix made once. Source it; it defines functions and sets nothing else.

# The repository's top folder.
velmora_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

velmora_wine_env() {
    export WINEDEBUG="${WINEDEBUG:--all}"
    # No Mono or Gecko install is attempted for a prefix.
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    export WINEPREFIX="${WINEPREFIX:-$(velmora_root)/build/wineprefix}"
}

# Makes the Wine prefix if it does not exist yet; several callers may race, so it is locked.
velmora_ensure_prefix() {
    velmora_wine_env
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot -i >/dev/null 2>&1
            wineserver -w
        fi
        if [ ! -f "$WINEPREFIX/velmora-configured" ]; then
            # The face is a desktop widget: Wine keeps it away from the X window manager, as
            # Windows has none. Managed, its first click would hand it to the manager, which
            # loses that click and may move the face.
            wine reg add 'HKCU\Software\Wine\AppDefaults\velmora.exe\X11 Driver' \
                /v Managed /d N /f >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/velmora-configured"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Uses $DISPLAY when it answers; otherwise starts Xvfb with openbox on a free display number
# (once, shared by every later caller through build/display) and exports DISPLAY.
velmora_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local state
    state="$(velmora_root)/build/display"
    mkdir -p "$(dirname "$state")"
    exec 8>"$state.lock"
    flock 8
    if [ -f "$state" ]; then
        DISPLAY=$(cat "$state")
        export DISPLAY
        if xdpyinfo >/dev/null 2>&1; then flock -u 8; return 0; fi
    fi
    local n=99
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    export DISPLAY=":$n"
    setsid Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    # Without a window manager Wine keeps no window on top and dialogs close slowly.
    setsid openbox --sm-disable >/dev/null 2>&1 &
    for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
    echo "$DISPLAY" >"$state"
    flock -u 8
}
