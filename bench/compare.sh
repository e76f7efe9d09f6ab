#!/usr/bin/env bash
# Times glamora-cli proc against ImageMagick's convert and vips on the same
# 4000 × 3000 picture, every program on one thread, and prints the ratios
# (glamora's time divided by the other's: below 1 means glamora is faster).
#
#   bench/compare.sh [path/to/glamora-cli]
#
# RUNS (default 5) sets the repetitions; FORMAT (default tif, uncompressed)
# the picture type, which all three read and write. Times are whole
# commands: reading, the operation and writing. Both the wall-clock time and
# the processor time (user + system) are shown, as the latter stays
# meaningful on a busy machine. What each program spends on reading and
# writing the picture alone is shown first.
set -euo pipefail

cli=${1:-build/bin/glamora-cli}
runs=${RUNS:-5}
format=${FORMAT:-tif}
for tool in "$cli" convert vips; do
  command -v "$tool" >/dev/null || { echo "compare.sh: $tool not found" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MAGICK_THREAD_LIMIT=1 VIPS_CONCURRENCY=1 OMP_NUM_THREADS=1
input="$work/in.$format"
convert -seed 7 -size 4000x3000 plasma:fractal -blur 0x1 -depth 8 -type TrueColor -compress none "$input"

# Prints "wall cpu" in seconds (means over the runs) for one command.
measure() {
  if command -v hyperfine >/dev/null; then
    hyperfine --runs "$runs" --warmup 1 --style none --export-json "$work/t.json" -- "$1" >/dev/null \
      2>"$work/err" || { cat "$work/err" >&2; exit 1; }
    python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"][0]; print(r["mean"], r["user"]+r["system"])' "$work/t.json"
  else
    [ -x /usr/bin/time ] || { echo "compare.sh: needs hyperfine or /usr/bin/time" >&2; exit 1; }
    local wall=0 cpu=0 line
    for _ in $(seq "$runs"); do
      line=$( { /usr/bin/time -f "%e %U %S" bash -c "$1 >/dev/null"; } 2>&1 | tail -1)
      wall=$(python3 -c "print($wall + ${line%% *})")
      cpu=$(python3 -c "a='$line'.split(); print($cpu + float(a[1]) + float(a[2]))")
    done
    python3 -c "print($wall / $runs, $cpu / $runs)"
  fi
}

out="$work/out.$format"
# Reading and writing alone, per program.
io() { measure "$1" | python3 -c 'import sys; w, c = map(float, sys.stdin.read().split()); print(f"{w:.3f} s wall, {c:.3f} s cpu")'; }
glamora_io=$(io "$cli proc intensity 0 0 0 $input $out")
convert_io=$(io "convert $input -limit thread 1 $out")
vips_io=$(io "vips copy $input $out")

row() {  # name, other tool, glamora command, other command
  local g o
  g=$(measure "$3")
  o=$(measure "$4")
  python3 - "$1" "$2" $g $o <<'PY'
import sys
name, tool = sys.argv[1], sys.argv[2]
gw, gc, ow, oc = map(float, sys.argv[3:7])
print(f"{name:<24} {tool:<8} {gw:7.3f} {ow:7.3f} {gw/ow:6.2f}   {gc:7.3f} {oc:7.3f} {gc/oc:6.2f}")
PY
}

echo "input: 4000 x 3000 $format, $runs runs each; times in seconds, ratio = glamora / other"
echo "reading and writing alone: glamora $glamora_io; convert $convert_io; vips $vips_io"
echo "operation                against  -- wall: glamora  other  ratio   -- cpu: glamora  other  ratio"
row "lanczos3 to 228 x 314" convert "$cli proc resample 228 314 lanczos3 $input $out" \
  "convert $input -limit thread 1 -filter Lanczos -resize 228x314! $out"
row "lanczos3 to 228 x 314" vips "$cli proc resample 228 314 lanczos3 $input $out" \
  "vips resize $input $out 0.057 --vscale 0.10466666666 --kernel lanczos3"
row "lanczos3 to 2000 x 1500" convert "$cli proc resample 2000 1500 lanczos3 $input $out" \
  "convert $input -limit thread 1 -filter Lanczos -resize 2000x1500! $out"
row "lanczos3 to 2000 x 1500" vips "$cli proc resample 2000 1500 lanczos3 $input $out" \
  "vips resize $input $out 0.5 --kernel lanczos3"
row "rotate 17, antialiased" convert "$cli proc rotate 17 --antialias $input $out" \
  "convert $input -limit thread 1 -background white -rotate -17 $out"
row "rotate 17, antialiased" vips "$cli proc rotate 17 --antialias $input $out" "vips rotate $input $out 17"
# The nearest counterparts of the colour operations.
row "hslvar 10 5 -10" convert "$cli proc hslvar 10 5 -10 $input $out" \
  "convert $input -limit thread 1 -modulate 90,105,103 $out"
row "contrast 30" convert "$cli proc contrast 30 $input $out" \
  "convert $input -limit thread 1 -brightness-contrast 0x30 $out"
