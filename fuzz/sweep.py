#!/usr/bin/env python3
"""Damaged-file sweep of the command-line companion.

Makes damaged variants of every picture and face file in the given folders
(truncations, single-bit flips, header fields set to extreme values) and runs
each through a sanitizer build of glamora-cli: "img info" and "img convert"
for pictures, "face info" for face files, each run with a time limit and a
memory limit. Prints how the runs ended, per command:

  failed      exit status 1 with a message: the clean way to refuse a file
  succeeded   exit status 0
  cut-garbage a truncated picture converted to something other than what the
              whole file converts to (a truncation that only loses a trailer
              gives the whole picture and counts as succeeded)
  crashed     a sanitizer report, or the program ended by a signal
  timed-out   the time limit passed
  memory      the memory limit was hit
  big-small   a run above 200 MB for an input under 1 kB (counted apart)

Variants that did not end cleanly are kept in the --keep folder.

  fuzz/sweep.py [--cli PATH] [--variants N] [--seconds S] [--memory MB]
                [--jobs J] [--keep DIR] FOLDER...

The sanitizer build is scripts/build --sanitize (build-sanitize/) or the
fuzz build (build-fuzz/, see README.md); the first found is used unless --cli
names one.
"""

import argparse
import concurrent.futures
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PICTURES = {".jpg", ".jpeg", ".png", ".gif", ".tif", ".tiff", ".bmp", ".pcx", ".tga", ".ico", ".cur"}
FACES = {".eff", ".mff"}
FACE_HEADER = 3260
# Values a damaged header field often holds: zero, one, sign and width edges,
# a size just under the limits in either byte order.
FIELD_VALUES = [
    (0, 2), (1, 2), (0x7F, 1), (0x80, 1), (0xFF, 1), (0x7FFF, 2), (0x8000, 2), (0xFFFF, 2), (14000, 2),
    (14000 << 8 & 0xFFFF | 14000 >> 8, 2), (0x7FFFFFFF, 4), (0x80000000, 4), (0xFFFFFFFF, 4), (14000, 4),
    (14000 * 14000, 4),
]
SMALL_INPUT = 1024
BIG_RUN_KB = 200 * 1024


def variants(data, count, rng):
    """(kind, bytes) pairs: a third truncations, a third bit flips, a third field values."""
    out = []
    size = len(data)
    if size == 0:
        return out
    third = max(count // 3, 1)
    # Truncations: every length of a small file, else lengths spread evenly with
    # the header region in full.
    lengths = list(range(size)) if size <= third else sorted(
        set(list(range(min(size, third // 2))) + [rng.randrange(size) for _ in range(third - third // 2)]))
    out += [("cut", data[:n]) for n in lengths[:third]]
    for _ in range(third):
        damaged = bytearray(data)
        at = rng.randrange(size)
        damaged[at] ^= 1 << rng.randrange(8)
        out.append(("flip", bytes(damaged)))
    header = min(size, 128)
    for _ in range(third):
        value, width = rng.choice(FIELD_VALUES)
        at = rng.randrange(max(header - width, 1))
        damaged = bytearray(data)
        order = rng.choice(["little", "big"])
        damaged[at:at + width] = value.to_bytes(width, order)
        out.append(("field", bytes(damaged[:size])))
    return out


def face_variants(data, count, rng):
    """Damage to a face file falls on its payload's picture as well as on the header."""
    out = []
    if len(data) <= FACE_HEADER:
        return variants(data, count, rng)
    head, payload = data[:FACE_HEADER], data[FACE_HEADER:]
    out += [(kind, v) for kind, v in variants(data, count // 2, rng)]
    out += [(kind, head + v) for kind, v in variants(payload, count - count // 2, rng)]
    return out


def run(cli, args, seconds, memory_mb):
    """Runs one command; returns (category, max RSS in KB)."""
    env = dict(os.environ)
    env["ASAN_OPTIONS"] = "hard_rss_limit_mb=%d:allocator_may_return_null=1:detect_leaks=0:abort_on_error=0" % memory_mb
    env["UBSAN_OPTIONS"] = "halt_on_error=1:print_stacktrace=1"
    env["QT_QPA_PLATFORM"] = "offscreen"
    # A file takes what the program prints, however long a sanitizer report runs.
    errors = tempfile.TemporaryFile()
    proc = subprocess.Popen([cli] + args, stdout=subprocess.DEVNULL, stderr=errors, env=env, start_new_session=True)
    deadline = time.monotonic() + seconds
    timed_out = False
    while True:
        pid, status, usage = os.wait4(proc.pid, os.WNOHANG)
        if pid:
            break
        if time.monotonic() > deadline:
            os.killpg(proc.pid, signal.SIGKILL)
            pid, status, usage = os.wait4(proc.pid, 0)
            timed_out = True
            break
        time.sleep(0.005)
    errors.seek(0)
    stderr = errors.read().decode("utf-8", "replace")
    errors.close()
    code = os.waitstatus_to_exitcode(status)
    rss = usage.ru_maxrss
    if timed_out:
        return "timed-out", rss, stderr
    if "rss limit exhausted" in stderr or ("Sanitizer" in stderr and "out of memory" in stderr.lower()):
        return "memory", rss, stderr
    if "Sanitizer" in stderr or "runtime error:" in stderr or code < 0:
        return "crashed", rss, stderr
    if rss > memory_mb * 1024:
        return "memory", rss, stderr
    return ("succeeded" if code == 0 else "failed"), rss, stderr


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("folders", nargs="+")
    parser.add_argument("--cli")
    parser.add_argument("--variants", type=int, default=150, help="variants per file (default 150)")
    parser.add_argument("--seconds", type=float, default=20, help="time limit per run (default 20)")
    parser.add_argument("--memory", type=int, default=2048, help="memory limit per run in MB (default 2048)")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--keep", default="sweep-findings")
    parser.add_argument("--seed", type=int, default=1)
    options = parser.parse_args()

    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    cli = options.cli or next((c for c in (os.path.join(root, "build-sanitize/bin/glamora-cli"),
                                           os.path.join(root, "build-fuzz/bin/glamora-cli")) if os.path.exists(c)),
                              None)
    if not cli or not os.path.exists(cli):
        sys.exit("sweep: no sanitizer build of glamora-cli (scripts/build --sanitize, or pass --cli)")

    inputs = []
    for folder in options.folders:
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            ext = os.path.splitext(name)[1].lower()
            if os.path.isfile(path) and (ext in PICTURES or ext in FACES):
                inputs.append(path)
    if not inputs:
        sys.exit("sweep: no picture or face files in " + ", ".join(options.folders))

    work = tempfile.mkdtemp(prefix="glamora-sweep-")
    rng = random.Random(options.seed)
    tasks = []  # (command name, args, variant path, kind, reference output or None, input size)
    try:
        for index, path in enumerate(inputs):
            with open(path, "rb") as f:
                data = f.read()
            ext = os.path.splitext(path)[1].lower()
            made = face_variants(data, options.variants, rng) if ext in FACES else variants(data, options.variants, rng)
            reference = None
            if ext in PICTURES:
                reference = os.path.join(work, "ref%d.bmp" % index)
                if subprocess.run([cli, "img", "convert", path, reference], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, env=dict(os.environ, ASAN_OPTIONS="detect_leaks=0")
                                  ).returncode != 0:
                    reference = None
            for number, (kind, content) in enumerate(made):
                variant = os.path.join(work, "v%d-%d-%s%s" % (index, number, kind, ext))
                with open(variant, "wb") as f:
                    f.write(content)
                if ext in FACES:
                    tasks.append(("face info", ["face", "info", variant], variant, kind, None, len(content)))
                else:
                    tasks.append(("img info", ["img", "info", variant], variant, kind, None, len(content)))
                    out = variant + ".out.bmp"
                    tasks.append(("img convert", ["img", "convert", variant, out], variant, kind,
                                  reference if kind == "cut" else None, len(content)))

        counts = {}
        problems = []
        big = {}

        def one(task):
            name, args, variant, kind, reference, size = task
            category, rss, stderr = run(cli, args, options.seconds, options.memory)
            if category == "succeeded" and reference is not None:
                out = args[-1]
                same = os.path.exists(out) and os.path.exists(reference) and open(out, "rb").read() == open(
                    reference, "rb").read()
                if not same:
                    category = "cut-garbage"
            if name == "img convert" and os.path.exists(args[-1]):
                os.remove(args[-1])
            return name, variant, category, rss, size, stderr

        started = time.monotonic()
        with concurrent.futures.ThreadPoolExecutor(max_workers=options.jobs) as pool:
            for name, variant, category, rss, size, stderr in pool.map(one, tasks):
                counts.setdefault(name, {}).setdefault(category, 0)
                counts[name][category] += 1
                if size < SMALL_INPUT and rss > BIG_RUN_KB:
                    big[name] = big.get(name, 0) + 1
                    problems.append((variant, "big-small", stderr))
                if category not in ("failed", "succeeded"):
                    problems.append((variant, category, stderr))

        print("sweep: %d files, %d runs of %s in %.0f s" % (len(inputs), len(tasks), cli, time.monotonic() - started))
        categories = ["failed", "succeeded", "cut-garbage", "crashed", "timed-out", "memory"]
        print("%-12s" % "command" + "".join("%12s" % c for c in categories) + "%12s" % "big-small")
        for name in sorted(counts):
            print("%-12s" % name + "".join("%12d" % counts[name].get(c, 0) for c in categories) +
                  "%12d" % big.get(name, 0))
        if problems:
            os.makedirs(options.keep, exist_ok=True)
            for variant, category, stderr in problems:
                kept = os.path.join(options.keep, category + "-" + os.path.basename(variant))
                shutil.copyfile(variant, kept)
                with open(kept + ".txt", "w") as f:
                    f.write(stderr)
            print("sweep: %d findings kept in %s" % (len(problems), options.keep))
        return 1 if problems else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
