#!/usr/bin/env bash
# What an idle clock costs, measured side by side with `xclock -update 1` in the same run, on a private X
# server with a window manager (openbox) and a compositor (xcompmgr), the pointer away from both:
#   - CPU time over the window of the client, the X server and the compositor (each clock measured alone,
#     so that the server's and the compositor's share can be told apart);
#   - wakeups per second of all the client's threads (context switches);
#   - file-system calls per second (strace, when installed);
#   - time from start to the first map of the window, median of 5;
#   - with 1, 4 and 8 clocks running: private dirty memory per clock and total PSS.
# Usage: bench/measure-running-clock.sh [build/default/bin/kivclock] [seconds]    (needs xclock: x11-apps)
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/default/bin/kivclock}")
seconds=${2:-30}

measure() {
    home=$(mktemp -d)
    mkdir -m 700 "$home/runtime"
    export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"
    export QT_QPA_PLATFORM=xcb
    xdotool mousemove 1200 1000
    server=$KIV_XVFB_PID
    compositor=$KIV_COMPOSITOR_PID
    ticks=$(getconf CLK_TCK)
    cpu_ms() { awk -v t="$ticks" '{ printf "%d", ($14 + $15) * 1000 / t }' "/proc/$1/stat"; }
    switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
    threads() { ls /proc/"$1"/task | wc -l; }

    start_kiv() { "$program" "$1" & }
    start_xclock() { xclock -update 1 -geometry 164x164+300+300 2>/dev/null & }

    # CPU, wakeups and file-system calls of one idle clock of each kind.
    printf '%-10s %8s %8s %8s %8s %10s %8s %10s\n' clock client server comp total wakeups/s threads fs-calls/s
    for kind in kiv xclock; do
        "start_$kind" Idle
        pid=$!
        sleep 3 # let start-up work settle
        c0=$(cpu_ms "$pid") s0=$(cpu_ms "$server") m0=$(cpu_ms "$compositor") w0=$(switches "$pid")
        sleep "$seconds"
        c1=$(cpu_ms "$pid") s1=$(cpu_ms "$server") m1=$(cpu_ms "$compositor") w1=$(switches "$pid")
        fs="-"
        if command -v strace >/dev/null; then
            timeout 10 strace -f -e trace=%file -o "$home/strace" -p "$pid" 2>/dev/null || true
            fs=$(awk 'END { printf "%.1f", NR / 10 }' "$home/strace")
        fi
        printf '%-10s %8s %8s %8s %8s %10s %8s %10s\n' "$kind" "$((c1 - c0))" "$((s1 - s0))" "$((m1 - m0))" \
            "$((c1 - c0 + s1 - s0 + m1 - m0))" "$(((w1 - w0) / seconds))" "$(threads "$pid")" "$fs"
        kill "$pid"; wait "$pid" 2>/dev/null || true
    done
    echo "(CPU in milliseconds over ${seconds} s)"

    # Time to the first map, median of 5.
    for kind in kiv xclock; do
        times=()
        for i in 1 2 3 4 5; do
            t0=$(date +%s%N)
            "start_$kind" "Map$i"
            pid=$!
            if [ "$kind" = kiv ]; then
                until xdotool search --onlyvisible --name "^Kiv Clock \{Map$i\}\$" >/dev/null; do sleep 0.005; done
            else
                until xdotool search --onlyvisible --pid "$pid" >/dev/null; do sleep 0.005; done
            fi
            times+=($((($(date +%s%N) - t0) / 1000000)))
            kill "$pid"; wait "$pid" 2>/dev/null || true
        done
        median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
        echo "first map $kind: median ${median} ms (${times[*]})"
    done

    # Memory with 1, 4 and 8 clocks of each kind.
    for count in 1 4 8; do
        for kind in kiv xclock; do
            pids=()
            for i in $(seq "$count"); do
                "start_$kind" "Mem$i"
                pids+=($!)
            done
            sleep 4
            pss=0 dirty=0
            for pid in "${pids[@]}"; do
                read -r p d < <(awk '/^Pss:/ { p = $2 } /^Private_Dirty:/ { d = $2 } END { print p, d }' \
                    "/proc/$pid/smaps_rollup")
                pss=$((pss + p)) dirty=$((dirty + d))
            done
            printf 'memory %-7s x%d: total PSS %6d KiB, private dirty %6d KiB per clock\n' "$kind" "$count" \
                "$pss" "$((dirty / count))"
            kill "${pids[@]}"; wait "${pids[@]}" 2>/dev/null || true
        done
    done
    rm -rf "$home"
}

export -f measure
export program seconds
exec tests/system/with-desktop.sh bash -c measure
