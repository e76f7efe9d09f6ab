#!/usr/bin/env bash
# Start-up of the program under a virtual X server: the seconds from starting
# it to its main window being shown, and the memory it holds at rest (resident
# set, in MB) a few seconds later, before any face finding. Each program runs
# RUNS times (default 7), the programs interleaved run by run so that a busy
# spell of the machine falls on all of them alike; the figures are medians,
# with the fastest and slowest beside them.
#
#   bench/startup.sh [PROGRAM...]          default: build/bin/glamora
#
# Each program runs beside its own data folders, with a settings store of its
# own that is empty at every run. NO_MODEL=1 runs every program with the face
# finder's model file out of its sight (a private mount namespace hides its
# folder; needs unshare and mount rights), the start-up without the model to
# compare against. REST (default 3) is the seconds waited before reading the
# memory; DISPLAY_NUMBER (default 97) the virtual display's number.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-7}
rest=${REST:-3}
display=":${DISPLAY_NUMBER:-97}"
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=("$root/build/bin/glamora")
model_folder=/usr/share/dlib

for p in "${programs[@]}"; do
  [ -x "$p" ] || { echo "startup: no program $p" >&2; exit 1; }
done
for tool in Xvfb xwininfo xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "startup: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

scratch=$(mktemp -d)
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
for _ in $(seq 400); do
  DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
  sleep 0.05
done
DISPLAY=$display xdpyinfo >/dev/null 2>&1 || { echo "startup: the virtual X server did not start" >&2; exit 1; }

now() { date +%s%N; }

# Starts a program, waits for its main window to be viewable and prints
# "seconds megabytes".
one_run() {
  local program=$1 config="$scratch/config"
  rm -rf "$config" && mkdir -p "$config"
  local start pid window
  start=$(now)
  if [ "${NO_MODEL:-0}" = 1 ]; then
    DISPLAY=$display XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb \
      unshare -m sh -c "mount -t tmpfs none '$model_folder' && exec '$program'" >/dev/null 2>&1 &
  else
    DISPLAY=$display XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
  fi
  pid=$!
  local shown=""
  for _ in $(seq 2000); do
    kill -0 "$pid" 2>/dev/null || break
    for window in $(DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -o '0x[0-9a-f]* "Glamora[^"]*"' |
                    cut -d' ' -f1); do
      if DISPLAY=$display xwininfo -id "$window" 2>/dev/null | grep -q IsViewable; then
        shown=$(now)
        break 2
      fi
    done
    sleep 0.002
  done
  [ -n "$shown" ] || { echo "startup: $program showed no window" >&2; kill "$pid" 2>/dev/null; exit 1; }
  sleep "$rest"
  # Under unshare the program is the shell's exec, so the pid is the same.
  local rss
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v s="$start" -v e="$shown" -v r="$rss" 'BEGIN { printf "%.3f %.1f\n", (e - s) / 1e9, r / 1024 }'
}

# The median, lowest and highest of the numbers on standard input.
summary() { sort -g | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
                                                   printf "%s (%s–%s)", m, v[1], v[NR] }'; }

for i in $(seq "$runs"); do
  for n in "${!programs[@]}"; do one_run "${programs[$n]}" >>"$scratch/results.$n"; done
done

[ "${NO_MODEL:-0}" = 1 ] && echo "face finder's model hidden"
printf "%-50s %-26s %s\n" "program ($runs runs)" "window shown, s" "memory at rest, MB"
for n in "${!programs[@]}"; do
  printf "%-50s %-26s %s\n" "${programs[$n]}" "$(cut -d' ' -f1 "$scratch/results.$n" | summary)" \
    "$(cut -d' ' -f2 "$scratch/results.$n" | summary)"
done
