#!/usr/bin/env bash
# JPEG coding in memory against libjpeg-turbo's own tjbench, on the same
# 4000 × 3000 picture at quality 90 with 4:2:0 sampling, both pinned to one
# core. Prints the processor time of one encode and one decode for each and
# the ratio (glamora's time divided by tjbench's). Processor time, not wall
# time, as it stays meaningful on a busy machine: tjbench reports megapixels
# per second of wall time, which give the frames it coded, and its processor
# time per frame is its whole processor time divided by them.
#
#   bench/jpeg_vs_tjbench.sh [path/to/bench_jpeg]
#
# SECONDS_EACH (default 3) sets how long each measurement runs, CPU (default
# 1) the core.
set -euo pipefail

bench=${1:-build/bin/bench_jpeg}
seconds=${SECONDS_EACH:-3}
cpu=${CPU:-1}
for tool in "$bench" tjbench convert taskset; do
  command -v "$tool" >/dev/null || { echo "jpeg_vs_tjbench.sh: $tool not found (scripts/setup installs it)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -seed 7 -size 4000x3000 plasma:fractal -blur 0x1 -depth 8 -type TrueColor "$work/photo.ppm"
convert "$work/photo.ppm" "BMP3:$work/photo.bmp"
megapixels=12

# Runs a command on the core; prints its processor seconds (user + system)
# and leaves its output in $work/out.
timed() {
  /usr/bin/time -f "%U %S" -o "$work/time" taskset -c "$cpu" "$@" >"$work/out" 2>&1
  awk '{print $1 + $2}' "$work/time"
}

# tjbench writes the JPEG it makes beside its input: photo_420_Q90.jpg.
tjbench "$work/photo.ppm" 90 -subsamp 420 -benchtime 0.1 -warmup 0 -quiet >/dev/null 2>&1
# Decoding alone (a JPEG input), then encoding followed by decoding (a PPM input).
decodeCpu=$(timed tjbench "$work/photo_420_Q90.jpg" -benchtime "$seconds" -warmup 0 -nowrite -quiet)
decodeRate=$(awk '$1 == "BGR" {print $NF}' "$work/out")
bothCpu=$(timed tjbench "$work/photo.ppm" 90 -subsamp 420 -benchtime "$seconds" -warmup 0 -nowrite -quiet)
read -r encodeRate decodeRate2 <<<"$(awk '$1 == "BGR" {print $(NF-2), $NF}' "$work/out")"
read -r tjEncode tjDecode <<<"$(awk -v dc="$decodeCpu" -v dr="$decodeRate" -v bc="$bothCpu" -v er="$encodeRate" \
  -v dr2="$decodeRate2" -v t="$seconds" -v mp="$megapixels" 'BEGIN {
    d = dc / (dr * t / mp)
    printf "%.1f %.1f\n", (bc - d * dr2 * t / mp) / (er * t / mp) * 1000, d * 1000 }')"

read -r ourEncode ourDecode <<<"$(GLAMORA_BENCH_PICTURE="$work/photo.bmp" taskset -c "$cpu" "$bench" \
  --benchmark_filter='BM_JpegEncode|BM_JpegDecode/1$' --benchmark_min_time="$seconds" --benchmark_format=csv 2>/dev/null |
  awk -F, '/BM_JpegEncode/ {e = $4} /BM_JpegDecode\/1/ {d = $4} END {printf "%.1f %.1f\n", e, d}')"  # milliseconds

printf "%-8s %12s %12s %8s\n" "" "glamora ms" "tjbench ms" "ratio"
awk -v g="$ourEncode" -v t="$tjEncode" 'BEGIN {printf "%-8s %12.1f %12.1f %8.2f\n", "encode", g, t, g / t}'
awk -v g="$ourDecode" -v t="$tjDecode" 'BEGIN {printf "%-8s %12.1f %12.1f %8.2f\n", "decode", g, t, g / t}'
