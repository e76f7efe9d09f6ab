#!/usr/bin/env bash
# Times `glamora-cli photo` (hair and all five make-up kinds) on a 12-megapixel
# JPEG portrait against decoding and encoding the same picture with the JPEG
# library's djpeg and cjpeg, on one core, and prints the processor times
# (user + system, medians of ROUNDS interleaved rounds, default 5), the ratio,
# and the peak memory of the make-over beside the size of the decoded picture.
# The face finder's model load is a fixed cost of every start of the command;
# it is timed on its own (face landmarks on a small picture) and shown apart.
#
#   bench/photo_compare.sh [glamora-cli]
#
# PHOTO (default the shipped portrait) is scaled to 4000 × 3000 with film grain
# added, so that the JPEG has the detail of a real photograph.
set -euo pipefail
cli=$(realpath "${1:-build/bin/glamora-cli}")
rounds=${ROUNDS:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
photo=${PHOTO:-$root/tests/assets/portrait-astronaut.png}
core=${CORE:-$(python3 -c 'import os; print(max(os.sched_getaffinity(0)))')}
for tool in convert djpeg cjpeg taskset python3; do
  command -v "$tool" >/dev/null || { echo "photo_compare.sh: $tool not found (scripts/setup installs it)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert "$photo" -filter Lanczos -resize 3000x3000 -background '#d8d0c8' -gravity center -extent 4000x3000 \
  -attenuate 0.6 +noise Gaussian -quality 92 "$work/photo.jpg"
convert "$photo" -resize 228x314! "$work/small.png"

# cpu TIME-FILE COMMAND...: runs the command pinned with one thread, appends
# "user+system peak-KB" to the file.
cpu() {
  local file=$1; shift
  OMP_NUM_THREADS=1 /usr/bin/time -f "%U %S %M" -o "$work/t" taskset -c "$core" "$@" >/dev/null
  awk '{ printf "%.3f %d\n", $1 + $2, $3 }' "$work/t" >>"$file"
}
median() { sort -n "$1" | awk '{ v[NR] = $1; m[NR] = $2 } END { print v[int((NR + 1) / 2)], m[int((NR + 1) / 2)] }'; }

for _ in $(seq 0 "$rounds"); do
  cpu "$work/photo.times" "$cli" photo "$work/photo.jpg" "$work/out.jpg" --hair "$root/data/Long/003.jpg" \
    --eyes 120,60,140 --lips 190,30,60 --lipline 120,20,40 --blush 220,100,110 --complexion -5 --quality 92
  cpu "$work/djpeg.times" djpeg -outfile "$work/photo.ppm" "$work/photo.jpg"
  cpu "$work/cjpeg.times" cjpeg -quality 92 -outfile "$work/again.jpg" "$work/photo.ppm"
  cpu "$work/model.times" "$cli" face landmarks "$work/small.png"
done
read -r photoCpu photoKb < <(median "$work/photo.times")
read -r djpegCpu _ < <(median "$work/djpeg.times")
read -r cjpegCpu _ < <(median "$work/cjpeg.times")
read -r modelCpu _ < <(median "$work/model.times")
python3 - "$photoCpu" "$djpegCpu" "$cjpegCpu" "$modelCpu" "$photoKb" <<'PY'
import sys
photo, djpeg, cjpeg, model, kb = map(float, sys.argv[1:])
coding = djpeg + cjpeg
decoded_mb = 4000 * 3000 * 3 / 2**20
print(f"photo make-over (whole command)   {photo:.3f} s CPU, peak {kb / 1024:.0f} MB")
print(f"  of which the face finder's start {model:.3f} s (face landmarks on a small picture)")
print(f"djpeg + cjpeg                      {coding:.3f} s CPU ({djpeg:.3f} + {cjpeg:.3f})")
print(f"ratio, whole command               {photo / coding:.2f}")
print(f"ratio, without the finder's start  {(photo - model) / coding:.2f}")
print(f"decoded picture {decoded_mb:.0f} MB; peak over decoded {kb / 1024 / decoded_mb:.2f}")
PY
