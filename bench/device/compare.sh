#!/usr/bin/env bash
# Runs device_bench against the llvmpipe reference (glref) in one session, alternating the two
# so that both see the same machine load, and prints every result line followed by a summary:
# per size and thread count the best median of each side over the rounds and their ratio, the
# device's scaling from 1 to 8 threads, and its one-thread cost per shaded pixel and per
# rasterized triangle.
#
# Usage: GLREF=/path/to/glref [GLREF_SRC=/path/to/glref.cpp] [BENCH=/path/to/device_bench] \
#        ./compare.sh [FRAMES] [ROUNDS]
# With GLREF_SRC set, glref is built first into the directory of GLREF (outside this tree).
# Defaults: 300 measured frames after 30 warm-up frames, 2 rounds.
set -euo pipefail
FRAMES=${1:-300}
ROUNDS=${2:-2}
WARMUP=30
BENCH=${BENCH:-$(dirname "$0")/../../build/bench/device/device_bench}
: "${GLREF:?set GLREF to the glref binary}"
if [ -n "${GLREF_SRC:-}" ]; then
    mkdir -p "$(dirname "$GLREF")"
    g++ -std=c++17 -O2 -Wall -Wextra -o "$GLREF" "$GLREF_SRC" -lEGL -lOpenGL -lpng
fi

echo "nproc=$(nproc) cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "load=$(cut -d' ' -f1-3 /proc/loadavg)"
results=$(mktemp)
for round in $(seq "$ROUNDS"); do
    for size in 640x480 1280x720 1920x1080; do
        for threads in 1 8; do
            LP_NUM_THREADS=$threads "$GLREF" --size "$size" --warmup "$WARMUP" --frames "$FRAMES" \
                --readback --read-format bgra --label "glref/r$round" 2>/dev/null | tee -a "$results"
            "$BENCH" --size "$size" --threads "$threads" --warmup "$WARMUP" --frames "$FRAMES" \
                --label "device/r$round" | tee -a "$results"
        done
    done
done
echo "load=$(cut -d' ' -f1-3 /proc/loadavg)"

# One row per size and thread count: each side's best median over the rounds, and their ratio;
# then the device's scaling from 1 to 8 threads and its one-thread costs (from its best round).
echo "size threads | glref best median ms | device best median ms | glref/device"
awk '
    { delete f; for (i = 1; i <= NF; ++i) { split($i, kv, "="); f[kv[1]] = kv[2] } }
    function better(table, key, value) { if (!(key in table) || value < table[key]) table[key] = value }
    f["label"] ~ /^glref/ { better(gl, f["size"] " " f["LP_NUM_THREADS"], f["median_ms"] + 0) }
    f["label"] ~ /^device/ {
        key = f["size"] " " f["threads"]
        if (!(key in dv) || f["median_ms"] + 0 < dv[key]) {
            dv[key] = f["median_ms"] + 0
            cost[key] = f["ns_per_pixel"] == "" ? "" : \
                " ns_per_pixel=" f["ns_per_pixel"] " ns_per_triangle=" f["ns_per_triangle"]
        }
    }
    END {
        for (key in gl) printf "%s | %.2f | %.2f | %.2f\n", key, gl[key], dv[key], gl[key] / dv[key]
        for (key in dv) {
            split(key, part, " ")
            if (part[2] == 1 && (part[1] " 8") in dv) {
                printf "scaling %s device 1->8 threads %.2fx%s\n", part[1], dv[key] / dv[part[1] " 8"], cost[key]
            }
        }
    }' "$results" | sort -V
rm -f "$results"
