#!/usr/bin/env bash
# Times glamora-cli against ImageMagick, GraphicsMagick, vips and the JPEG
# library's own tools on the same 4000 × 3000 photograph and prints the ratios
# (glamora's time divided by the other's: below 1 means glamora is faster).
#
#   bench/compare.sh [glamora-cli [earlier-glamora-cli]]
#
# Every command runs pinned to one core (CORE, default the last one this
# shell may use) with every program's thread limit at 1. The commands are
# timed in ROUNDS (default 7) interleaved rounds after one warm-up round, each
# round in a different order, so that a busy spell of the machine falls on all
# of them alike; the figures are medians of processor time (user + system) and,
# beside them, of wall-clock time. Times are whole commands: reading, the
# operation and writing. FORMAT (tif, uncompressed, or jpg; default tif) is the
# picture type the operations read and write; reading and writing alone are
# timed for both types. PHOTO names the picture that is scaled to 4000 × 3000
# (default the shared portrait, else a generated plasma picture). ImageMagick
# runs under a policy of its own, as the system's memory and area limits would
# send its pixels to disk. With an earlier glamora-cli its times and ratios
# are shown as well, for before-and-after tables.
set -euo pipefail

cli=$(realpath "${1:-build/bin/glamora-cli}")
before=${2:+$(realpath "$2")}
rounds=${ROUNDS:-7}
format=${FORMAT:-tif}
photo=${PHOTO:-$(dirname "$0")/../tests/assets/portrait-astronaut.png}
core=${CORE:-$(python3 -c 'import os; print(max(os.sched_getaffinity(0)))')}
case "$format" in tif | jpg) ;; *) echo "compare.sh: FORMAT is tif or jpg" >&2; exit 1 ;; esac
for tool in "$cli" ${before:+"$before"} convert gm vips djpeg cjpeg taskset python3; do
  command -v "$tool" >/dev/null || { echo "compare.sh: $tool not found (scripts/setup installs the tools)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/policy.xml" <<'XML'
<policymap>
  <policy domain="resource" name="memory" value="16GiB"/>
  <policy domain="resource" name="map" value="16GiB"/>
  <policy domain="resource" name="area" value="4GP"/>
  <policy domain="resource" name="disk" value="16GiB"/>
</policymap>
XML
export MAGICK_CONFIGURE_PATH="$work" MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1 OMP_THREAD_LIMIT=1 \
  VIPS_CONCURRENCY=1 GOMP_SPINCOUNT=0

# The photograph, as uncompressed TIFF, quality-90 JPEG and BMP (the JPEG tools' own format).
if [ -r "$photo" ]; then
  convert "$photo" -filter Lanczos -resize '4000x3000!' -depth 8 -type TrueColor -compress none "$work/in.tif"
else
  convert -seed 7 -size 4000x3000 plasma:fractal -blur 0x1 -depth 8 -type TrueColor -compress none "$work/in.tif"
fi
convert "$work/in.tif" -quality 90 -sampling-factor 2x2 "$work/in.jpg"
convert "$work/in.tif" -type TrueColor "BMP3:$work/in.bmp"
in="$work/in.$format"

# The commands, one per line: key, then the command line. Each command writes
# a file of its own (@ stands for its name without extension), so that no
# command pays for dropping a large file another program has just written.
: >"$work/commands"
cmd() { printf '%s\t%s\n' "$1" "${2//@/$work/out-${1//:/-}}" >>"$work/commands"; }
glamora() {  # key, glamora-cli arguments: timed for this build and the earlier one
  cmd "g:$1" "$cli $2"
  [ -z "$before" ] || cmd "b:$1" "$before $2"
}

glamora tif.io "img convert $work/in.tif @.tif"
cmd vips:tif.io "vips copy $work/in.tif @.tif"
cmd im:tif.io "convert $work/in.tif -limit thread 1 @.tif"
glamora jpg.dec "img convert $work/in.jpg @.bmp"
cmd djpeg:jpg.dec "djpeg -bmp -outfile @.bmp $work/in.jpg"
glamora jpg.read "img convert $work/in.jpg @.tif"
cmd vips:jpg.read "vips copy $work/in.jpg @.tif"
glamora jpg.enc "img convert --quality 90 $work/in.bmp @.jpg"
cmd cjpeg:jpg.enc "cjpeg -quality 90 -outfile @.jpg $work/in.bmp"
glamora jpg.write "img convert --quality 90 $work/in.tif @.jpg"
cmd vips:jpg.write "vips copy $work/in.tif @.jpg[Q=90]"

quality=""
out="@.$format"
vipsout=$out
if [ "$format" = jpg ]; then
  quality="--quality 90"
  vipsout="$out[Q=90]"
fi
glamora small "proc resample 228 314 lanczos3 $quality $in $out"
cmd im:small "convert $in -limit thread 1 -filter Lanczos -resize 228x314! -quality 90 $out"
cmd vips:small "vips resize $in $vipsout 0.057 --vscale 0.10466666666666667 --kernel lanczos3"
cmd vips0:small "vips resize $in $vipsout 0.057 --vscale 0.10466666666666667 --kernel lanczos3 --gap 0"
glamora half "proc resample 2000 1500 lanczos3 $quality $in $out"
cmd im:half "convert $in -limit thread 1 -filter Lanczos -resize 2000x1500! -quality 90 $out"
cmd vips:half "vips resize $in $vipsout 0.5 --kernel lanczos3"
cmd vips0:half "vips resize $in $vipsout 0.5 --kernel lanczos3 --gap 0"
glamora rotate "proc rotate 17 --antialias $quality $in $out"
cmd im:rotate "convert $in -limit thread 1 -background white -rotate -17 +repage -quality 90 $out"
cmd vips:rotate "vips rotate $in $vipsout 17"
# The nearest counterparts of the colour operations.
glamora hsl "proc hslvar 10 5 -10 $quality $in $out"
cmd im:hsl "convert $in -limit thread 1 -modulate 90,105,105.6 -quality 90 $out"
cmd gm:hsl "gm convert $in -modulate 90,105,105.6 -quality 90 $out"
glamora contrast "proc contrast 30 $quality $in $out"
cmd im:contrast "convert $in -limit thread 1 -brightness-contrast 0x30 -quality 90 $out"

# The rows: label, glamora key, then "name=key" for each program compared.
cat >"$work/rows" <<ROWS
read+write tiff	tif.io	vips=vips:tif.io convert=im:tif.io
decode jpeg	jpg.dec	djpeg=djpeg:jpg.dec
read jpeg, write tiff	jpg.read	vips=vips:jpg.read
encode jpeg	jpg.enc	cjpeg=cjpeg:jpg.enc
read tiff, write jpeg	jpg.write	vips=vips:jpg.write
lanczos3 to 228 x 314	small	vips=vips:small vips-gap0=vips0:small convert=im:small
lanczos3 to 2000 x 1500	half	vips=vips:half vips-gap0=vips0:half convert=im:half
rotate 17 antialiased	rotate	vips=vips:rotate convert=im:rotate
hslvar 10 5 -10	hsl	gm=gm:hsl convert=im:hsl
contrast 30	contrast	convert=im:contrast
ROWS

python3 - "$work/commands" "$work/rows" "$core" "$rounds" "$format" "${before:+yes}" <<'PY'
import os, shlex, statistics, subprocess, sys, time

commands_file, rows_file, core, rounds, fmt, with_before = sys.argv[1:7]
rounds = int(rounds)
commands = [line.rstrip("\n").split("\t", 1) for line in open(commands_file) if line.strip()]

def run(key, line):
    """Runs one command pinned to the core; returns (cpu, wall) in seconds."""
    start = time.perf_counter()
    p = subprocess.Popen(["taskset", "-c", core] + shlex.split(line),
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    err = p.stderr.read()
    _, status, usage = os.wait4(p.pid, 0)
    wall = time.perf_counter() - start
    p.returncode = os.waitstatus_to_exitcode(status)
    if p.returncode != 0:
        sys.exit(f"compare.sh: {key} failed ({p.returncode}): {line}\n{err.decode(errors='replace')}")
    return usage.ru_utime + usage.ru_stime, wall

cpu = {key: [] for key, _ in commands}
wall = {key: [] for key, _ in commands}
for r in range(rounds + 1):
    shift = r % len(commands)
    order = commands[shift:] + commands[:shift]
    if r % 2:
        order.reverse()
    for key, line in order:
        c, w = run(key, line)
        if r > 0:  # the first round only warms the caches
            cpu[key].append(c)
            wall[key].append(w)

med = lambda xs: statistics.median(xs)
print(f"photograph 4000 x 3000, operations on {fmt}; core {core}, {rounds} interleaved rounds; "
      "medians in seconds; ratio = glamora / other")
head = f"{'':26}{'against':<11}{'cpu: glamora':>13}{'other':>8}{'ratio':>7}"
if with_before:
    head += f"{'before':>9}{'ratio':>7}"
head += f"{'   wall: glamora':>17}{'other':>8}{'ratio':>7}"
print(head)
for line in open(rows_file):
    if not line.strip():
        continue
    label, gkey, others = line.rstrip("\n").split("\t")
    g = "g:" + gkey
    for pair in others.split():
        name, okey = pair.split("=")
        gc, oc, gw, ow = med(cpu[g]), med(cpu[okey]), med(wall[g]), med(wall[okey])
        text = f"{label:<26}{name:<11}{gc:13.3f}{oc:8.3f}{gc / oc:7.2f}"
        if with_before:
            bc = med(cpu["b:" + gkey])
            text += f"{bc:9.3f}{bc / oc:7.2f}"
        text += f"{gw:17.3f}{ow:8.3f}{gw / ow:7.2f}"
        print(text)
        label = ""
PY
