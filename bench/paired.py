#!/usr/bin/env python3
"""Paired measurement on a shared, noisy machine.

Commands that are compared run alternately, A B A B ..., and each figure is
the median of the per-pair ratios, shown with its spread (lowest and
highest pair). A slow spell on the machine then slows both sides of a pair
instead of one side of the comparison. Nothing is a best-of.

As a program:
    paired.py [--pairs N] [--figure NAME] [--event REGEX] [--goal G] -- A... -- B...
runs A and B alternately N times (5 by default) and prints A's figure over
B's. NAME is one of wall_s (exec to exit), event_s (exec to the first line
on standard error that matches REGEX), cpu_s, rss_mib (peak resident
memory), or any NAME=NUMBER the commands print.
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PAIRS = 5
PRINTED_NUMBER = re.compile(r"\b([a-z_]+)=(-?[0-9]+(?:\.[0-9]+)?)")


class RunFailed(RuntimeError):
    pass


def run(argv, cwd=None, event=None, timeout=900):
    """Runs argv once and returns its figures: wall_s, cpu_s, rss_mib, event_s
    when `event` matched a line on standard error, every NAME=NUMBER printed,
    and the standard error text as `stderr`."""
    pattern = re.compile(event) if event else None
    with tempfile.TemporaryFile() as out:
        start = time.monotonic()
        process = subprocess.Popen(argv, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.PIPE)
        killer = threading.Timer(timeout, process.kill)
        killer.start()
        figures = {}
        lines = []
        for raw in process.stderr:
            line = raw.decode("utf-8", "replace")
            if pattern and "event_s" not in figures and pattern.search(line):
                figures["event_s"] = time.monotonic() - start
            lines.append(line)
        process.stderr.close()
        _, status, usage = os.wait4(process.pid, 0)
        figures["wall_s"] = time.monotonic() - start
        killer.cancel()
        process.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        text = out.read().decode("utf-8", "replace")
    stderr = "".join(lines)
    if process.returncode != 0:
        raise RunFailed(f"{' '.join(map(str, argv))} ended with {process.returncode}:\n{stderr[-2000:]}")
    if pattern and "event_s" not in figures:
        raise RunFailed(f"{' '.join(map(str, argv))} never said {event!r}:\n{stderr[-2000:]}")
    figures["cpu_s"] = usage.ru_utime + usage.ru_stime
    figures["rss_mib"] = usage.ru_maxrss / 1024.0  # kilobytes on Linux
    for name, number in PRINTED_NUMBER.findall(text + stderr):
        figures[name] = float(number)
    figures["stderr"] = stderr
    return figures


def rounds(steps, count, progress=None):
    """Runs every step once a round, in order, `count` rounds; with two steps
    that is A B A B. A step is (name, run) or (name, run, first_rounds) for
    one that runs only in the first rounds. Returns one {name: figures} per
    round."""
    results = []
    for number in range(count):
        result = {}
        for name, step, *first_rounds in steps:
            if first_rounds and number >= first_rounds[0]:
                continue
            if progress:
                progress(f"round {number + 1}/{count}: {name}")
            result[name] = step()
        results.append(result)
    return results


class Summary:
    """The median of one figure over the rounds, with its spread."""

    def __init__(self, values):
        self.values = list(values)
        self.median = statistics.median(self.values)
        self.low = min(self.values)
        self.high = max(self.values)

    def verdict(self, goal):
        """"met" or "MISSED" for the median against an upper bound, marked
        with * when the spread crosses the goal, so that another run on a
        quieter or busier machine could say otherwise."""
        if goal is None:
            return ""
        word = "met" if self.median <= goal else "MISSED"
        return word + ("*" if self.low <= goal < self.high else "")


def summarise(results, figure):
    """Applies figure(round) to every round's results, leaving out the rounds
    that lack a step it reads."""
    values = []
    for result in results:
        try:
            values.append(figure(result))
        except KeyError:
            continue
    if not values:
        raise KeyError("no round has the figure")
    return Summary(values)


def main():
    parser = argparse.ArgumentParser(description="Runs two commands alternately and compares one figure.")
    parser.add_argument("--pairs", type=int, default=PAIRS)
    parser.add_argument("--figure", default="wall_s")
    parser.add_argument("--event")
    parser.add_argument("--goal", type=float)
    parser.add_argument("commands", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    words = options.commands
    if options.pairs < PAIRS:
        parser.error(f"--pairs must be at least {PAIRS}")
    if len(words) < 4 or words[0] != "--" or words.count("--") != 2:
        parser.error("give two commands: -- A... -- B...")
    split = words.index("--", 1)
    first, second = words[1:split], words[split + 1 :]
    if not first or not second:
        parser.error("give two commands: -- A... -- B...")

    def measure(argv):
        return lambda: run(argv, event=options.event)

    try:
        results = rounds([("A", measure(first)), ("B", measure(second))], options.pairs)
    except RunFailed as failure:
        sys.exit(f"paired: {failure}")
    name = options.figure
    try:
        ratio = summarise(results, lambda r: r["A"][name] / r["B"][name])
    except KeyError:
        sys.exit(f"paired: the commands gave no figure {name}")
    goal = "" if options.goal is None else f", goal at most {options.goal:g}: {ratio.verdict(options.goal)}"
    print(f"A/B {name}: median {ratio.median:.3f} (spread {ratio.low:.3f}-{ratio.high:.3f}, "
          f"{options.pairs} pairs){goal}")


if __name__ == "__main__":
    main()
