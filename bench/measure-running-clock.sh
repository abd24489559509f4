#!/usr/bin/env bash
# What an idle clock costs, measured side by side with `xclock -update 1` in the same run, on a private X
# server with a window manager (openbox) and a compositor (xcompmgr), the pointer away from both:
#   - CPU time over the window of the client, the X server and the compositor (each clock measured alone,
#     so that the server's and the compositor's share can be told apart);
#   - wakeups per second of all the client's threads (context switches), and of each thread;
#   - file-system calls per second (strace, when installed);
#   - time from start to the first map of the window, median of 5;
#   - with 1, 4 and 8 clocks running: private dirty memory per clock and total PSS;
#   - one frame of the face (bench_face next to the program, when built).
# At the end it prints the table of one idle clock with the ratios to xclock.
# Usage: bench/measure-running-clock.sh [build/default/bin/kivclock] [seconds]    (needs xclock: x11-apps)
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/default/bin/kivclock}")
# A program just linked sits in the page cache as dirty pages, which would count as the clock's private
# dirty memory until they are written back.
sync
seconds=${2:-30}

measure() {
    home=$(mktemp -d)
    mkdir -m 700 "$home/runtime"
    export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"
    export QT_QPA_PLATFORM=xcb
    xdotool mousemove 1200 1000
    server=$KIV_XVFB_PID
    compositor=$KIV_COMPOSITOR_PID
    # CPU time of all the threads of a process in milliseconds, from the scheduler's nanosecond counts (the
    # clock ticks of /proc/<pid>/stat are 10 ms, as much as an idle clock spends in seconds).
    cpu_ms() { cat /proc/"$1"/task/*/schedstat | awk '{ n += $1 } END { printf "%.1f", n / 1e6 }'; }
    sub() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a - b }'; }
    # "tid name switches" for each thread
    thread_switches() {
        for task in /proc/"$1"/task/*; do
            printf '%s %s %s\n' "${task##*/}" "$(tr ' ' _ <"$task/comm")" \
                "$(awk '/ctxt_switches/ { n += $2 } END { print n }' "$task/status")"
        done
    }
    threads() { ls /proc/"$1"/task | wc -l; }
    ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

    start_kiv() { "$program" "$1" & }
    start_xclock() { xclock -update 1 -geometry 164x164+300+300 2>/dev/null & }

    declare -A cpu cpu_total wake wake_threads fs map pss4 dirty4 pss1 dirty1 pss8 dirty8
    # CPU, wakeups and file-system calls of one idle clock of each kind.
    printf '%-10s %8s %8s %8s %8s %10s %8s %10s\n' clock client server comp total wakeups/s threads fs-calls/s
    for kind in kiv xclock; do
        "start_$kind" Idle
        pid=$!
        sleep 3 # let start-up work settle
        c0=$(cpu_ms "$pid") s0=$(cpu_ms "$server") m0=$(cpu_ms "$compositor")
        thread_switches "$pid" >"$home/switches0"
        sleep "$seconds"
        c1=$(cpu_ms "$pid") s1=$(cpu_ms "$server") m1=$(cpu_ms "$compositor")
        thread_switches "$pid" >"$home/switches1"
        per_thread=$(awk -v s="$seconds" 'NR == FNR { w[$1] = $3; next }
            { d = ($3 - w[$1]) / s; total += d; if (d > 0) out = out sprintf(" %s %.1f", $2, d) }
            END { printf "%.1f%s", total, out }' "$home/switches0" "$home/switches1")
        fs="-"
        if command -v strace >/dev/null; then
            timeout 10 strace -f -e trace=%file -o "$home/strace" -p "$pid" 2>/dev/null || true
            fs=$(awk 'END { printf "%.1f", NR / 10 }' "$home/strace")
        fi
        client=$(sub "$c1" "$c0") xserver=$(sub "$s1" "$s0") comp=$(sub "$m1" "$m0")
        cpu_total[$kind]=$(awk -v a="$client" -v b="$xserver" -v c="$comp" 'BEGIN { printf "%.1f", a + b + c }')
        cpu[$kind]="$client / $xserver / $comp ms (${cpu_total[$kind]})"
        wake[$kind]=${per_thread%% *}
        wake_threads[$kind]=${per_thread#* }
        fs[$kind]=$fs
        printf '%-10s %8s %8s %8s %8s %10s %8s %10s\n' "$kind" "$client" "$xserver" "$comp" \
            "${cpu_total[$kind]}" "${wake[$kind]}" "$(threads "$pid")" "$fs"
        [ "${wake_threads[$kind]}" = "${wake[$kind]}" ] && wake_threads[$kind]=""
        echo "    wakeups/s per thread:${wake_threads[$kind]}"
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
        map[$kind]=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
        echo "first map $kind: median ${map[$kind]} ms (${times[*]})"
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
            declare -n pss_of="pss$count" dirty_of="dirty$count"
            pss_of[$kind]=$pss dirty_of[$kind]=$((dirty / count))
            unset -n pss_of dirty_of
            kill "${pids[@]}"; wait "${pids[@]}" 2>/dev/null || true
        done
    done

    frame="-"
    bench=$(dirname "$program")/bench_face
    if [ -x "$bench" ]; then
        frame=$(QT_QPA_PLATFORM=offscreen "$bench" --benchmark_filter='BM_Draw' --benchmark_format=csv 2>/dev/null |
            awk -F, '/BM_Draw/ { gsub(/"/, "", $1); split($1, a, "/"); n[a[1]] = n[a[1]] sprintf("%s%.2f", n[a[1]] ? " / " : "", $4 / 1000) }
                END { split(n["BM_DrawFrame"], w, " / ")
                      printf "whole at a new minute %s / %s ms, after a settings change %s / %s ms, per second %s ms (246², 598²)",
                          w[1], w[2], w[3], w[4], n["BM_DrawSecondChange"] }')
    fi
    mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }

    echo
    echo "| One idle clock | kivclock | xclock -update 1 | ratio |"
    echo "|---|---|---|---|"
    echo "| CPU over $seconds s: client / X server / compositor | ${cpu[kiv]} | ${cpu[xclock]} | $(ratio "${cpu_total[kiv]}" "${cpu_total[xclock]}") |"
    echo "| wakeups per second (all threads) | ${wake[kiv]} (${wake_threads[kiv]# }) | ${wake[xclock]} | $(ratio "${wake[kiv]}" "${wake[xclock]}") |"
    echo "| file-system calls per second | ${fs[kiv]} | ${fs[xclock]} | |"
    echo "| time to first map, median of 5 | ${map[kiv]} ms | ${map[xclock]} ms | $(ratio "${map[kiv]}" "${map[xclock]}") |"
    echo "| four clocks: total PSS (private dirty each) | $(mib "${pss4[kiv]}") ($(mib "${dirty4[kiv]}")) | $(mib "${pss4[xclock]}") ($(mib "${dirty4[xclock]}")) | $(ratio "${pss4[kiv]}" "${pss4[xclock]}") |"
    echo "| one clock: PSS (private dirty) | $(mib "${pss1[kiv]}") ($(mib "${dirty1[kiv]}")) | $(mib "${pss1[xclock]}") ($(mib "${dirty1[xclock]}")) | $(ratio "${pss1[kiv]}" "${pss1[xclock]}") |"
    echo "| eight clocks: total PSS (private dirty each) | $(mib "${pss8[kiv]}") ($(mib "${dirty8[kiv]}")) | $(mib "${pss8[xclock]}") ($(mib "${dirty8[xclock]}")) | $(ratio "${pss8[kiv]}" "${pss8[xclock]}") |"
    echo "| one frame, bench_face | $frame | — | |"
    rm -rf "$home"
}

export -f measure
export program seconds
exec tests/system/with-desktop.sh bash -c measure
