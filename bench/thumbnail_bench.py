#!/usr/bin/env python3
"""varnel-thumbnailer's time from exec to exit, the thumbnail written, on
a model of about 100 KB and on the 2-million-triangle benchmark model,
with an empty model beside them for what starting Mesa costs alone.

Usage: thumbnail_bench.py [--rounds N] BUILD_DIR   (needs no display)

Every round makes each thumbnail once, the models in turn; each figure is
the median over the rounds, with its spread.
"""

import argparse
import os
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import paired  # noqa: E402
from bench_report import Table, show_progress, title  # noqa: E402

# The side file managers ask for in their large view.
SIDE = 256
# About 100 KB of model text; and the benchmark model.
SMALL_TRIANGLES = 1100
LARGE_TRIANGLES = 2_000_000
# From exec to the written thumbnail of the small model.
MOST_SMALL_SECONDS = 0.5
EMPTY_MODEL = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\nEof\r\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=paired.PAIRS)
    parser.add_argument("build", type=Path)
    options = parser.parse_args()
    build = options.build.resolve()
    thumbnailer = build / "tools" / "thumbnailer" / "varnel-thumbnailer"
    models = build / "bench-models"
    for triangles in (SMALL_TRIANGLES, LARGE_TRIANGLES):
        paired.run([build / "bench" / "bench_model" / "make_bench_model", models, str(triangles)])
    empty = models / "empty.mqo"
    empty.write_bytes(EMPTY_MODEL.encode())
    cases = [("empty", empty), *[(f"{t:,} triangles", models / f"bench-{t}.mqo")
                                  for t in (SMALL_TRIANGLES, LARGE_TRIANGLES)]]
    environment = {name: value for name, value in os.environ.items() if name != "DISPLAY"}
    os.environ.clear()
    os.environ.update(environment)
    load_before = os.getloadavg()
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="varnel-thumbnails-") as out:
        steps = [(name, lambda model=model: paired.run([thumbnailer, "-s", str(SIDE), model, Path(out) / "t.png"]))
                 for name, model in cases]
        try:
            results = paired.rounds(steps, options.rounds, progress=show_progress)
        except paired.RunFailed as failure:
            sys.exit(f"thumbnail_bench: {failure}")
    show_progress("")
    title(f"Thumbnails of {SIDE} x {SIDE} without a display (medians of {options.rounds} rounds)")
    table = Table(["model", "file", "exec to exit", "spread", "CPU", "peak memory", "goal", "verdict"])
    for name, model in cases:
        def figure(key):
            return paired.summarise(results, lambda r: r[name][key])
        wall = figure("wall_s")
        goal = MOST_SMALL_SECONDS if model.name == f"bench-{SMALL_TRIANGLES}.mqo" else None
        table.row([name, f"{model.stat().st_size / 1000:,.0f} kB", f"{wall.median:.3f} s",
                   f"{wall.low:.3f}-{wall.high:.3f}", f"{figure('cpu_s').median:.3f} s",
                   f"{figure('rss_mib').median:.0f} MiB", f"<= {goal} s" if goal else "", wall.verdict(goal)])
    table.show()
    print("* the spread crosses the goal: a quieter or busier machine could give the other verdict.")
    load_after = os.getloadavg()
    print(f"\n{options.rounds} rounds in {time.monotonic() - started:.0f} s; load average {load_before[0]:.2f} before, "
          f"{load_after[0]:.2f} after (1 minute), on {os.cpu_count()} cores.")


if __name__ == "__main__":
    main()
