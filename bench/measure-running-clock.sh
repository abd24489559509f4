#!/usr/bin/env bash
# Measures a running clock's CPU time and memory over a minute on a private X server with a window manager
# and a compositor, next to `xclock -digital -update 1` measured in the same run.
# Usage: bench/measure-running-clock.sh [build/default/bin/kivclock] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/default/bin/kivclock}")
seconds=${2:-60}

measure() {
    local home
    home=$(mktemp -d)
    mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" \
        QT_QPA_PLATFORM=xcb "$program" &
    local clock=$!
    xclock -digital -update 1 &
    local xclock=$!
    sleep "$seconds"
    local ticks
    ticks=$(getconf CLK_TCK)
    printf '%-22s %12s %12s %12s\n' "process" "CPU seconds" "RSS KiB" "peak KiB"
    for entry in "kivclock:$clock" "xclock:$xclock"; do
        local name=${entry%%:*} pid=${entry##*:}
        local cpu rss peak
        cpu=$(awk -v t="$ticks" '{ printf "%.2f", ($14 + $15) / t }' "/proc/$pid/stat")
        rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
        peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
        printf '%-22s %12s %12s %12s\n' "$name" "$cpu" "$rss" "$peak"
    done
    kill "$clock" "$xclock"
    wait "$clock" "$xclock" 2>/dev/null || true
    rm -rf "$home"
}

export -f measure
export program seconds
exec tests/system/with-desktop.sh bash -c measure
