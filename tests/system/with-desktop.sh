#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb, 1280 x 1024) with a window manager (openbox) and a
# compositing manager (xcompmgr), then ends the three by their PIDs.
set -u
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "with-desktop: Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    kill "$xvfb" 2>/dev/null
    exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
wm=$!
xcompmgr >"$work/xcompmgr.log" 2>&1 &
compositor=$!
# The window manager is ready once it has announced itself on the root window.
for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

# The servers' PIDs, for benchmarks that measure what a client costs them.
export KIV_XVFB_PID=$xvfb KIV_COMPOSITOR_PID=$compositor
"$@"
status=$?

kill "$compositor" "$wm" 2>/dev/null
wait "$compositor" "$wm" 2>/dev/null
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
rm -rf "$work"
exit $status
