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


class Command:
    """One run of argv, from exec to exit, with its standard error read line
    by line as it comes (standard output goes to a file: the viewer's
    console text must never block it)."""

    def __init__(self, argv, cwd=None, stdin=subprocess.DEVNULL, timeout=900):
        self.argv = argv
        self.out = tempfile.TemporaryFile()
        self.lines = []
        self.start = time.monotonic()
        self.process = subprocess.Popen(argv, cwd=cwd, stdin=stdin, stdout=self.out, stderr=subprocess.PIPE)
        self.killer = threading.Timer(timeout, self.process.kill)
        self.killer.daemon = True
        self.killer.start()

    def wait_for(self, pattern):
        """Seconds from exec to the first line on standard error that matches
        `pattern`; every line read is kept."""
        matcher = re.compile(pattern)
        while True:
            raw = self.process.stderr.readline()
            if not raw:
                self.finish()
                raise RunFailed(f"{self.name()} never said {pattern!r}:\n{''.join(self.lines)[-2000:]}")
            line = raw.decode("utf-8", "replace")
            self.lines.append(line)
            if matcher.search(line):
                return time.monotonic() - self.start

    def finish(self):
        """Waits for the exit; returns wall_s, cpu_s, rss_mib (peak resident
        memory), every NAME=NUMBER printed and the standard error text as
        `stderr`."""
        if self.process.stdin:
            self.process.stdin.close()
        self.lines += [raw.decode("utf-8", "replace") for raw in self.process.stderr]
        self.process.stderr.close()
        _, status, usage = os.wait4(self.process.pid, 0)
        wall = time.monotonic() - self.start
        self.killer.cancel()
        self.process.returncode = os.waitstatus_to_exitcode(status)
        self.out.seek(0)
        text = self.out.read().decode("utf-8", "replace")
        self.out.close()
        stderr = "".join(self.lines)
        if self.process.returncode != 0:
            raise RunFailed(f"{self.name()} ended with {self.process.returncode}:\n{stderr[-2000:]}")
        figures = {name: float(number) for name, number in PRINTED_NUMBER.findall(text + stderr)}
        figures.update(wall_s=wall, cpu_s=usage.ru_utime + usage.ru_stime, rss_mib=usage.ru_maxrss / 1024.0,
                       stderr=stderr)
        return figures

    def peak_mib(self):
        """Its peak resident memory so far (VmHWM), while it runs."""
        if self.process.poll() is not None:
            self.finish()
            raise RunFailed(f"{self.name()} ended before it was measured")
        with open(f"/proc/{self.process.pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) / 1024.0
        raise RunFailed(f"{self.name()} tells no peak memory")

    def stop(self):
        """Ends a command that would run on, and reaps it."""
        self.process.terminate()
        self.process.wait()
        self.killer.cancel()
        self.process.stderr.close()
        self.out.close()

    def name(self):
        return " ".join(map(str, self.argv))


class Live(Command):
    """A command that stays running and is measured a step at a time: it
    says "ready" on standard error once set up, answers each request line
    on its standard input with a line of NAME=NUMBER figures there, and
    quits at the end of its input."""

    def __init__(self, argv, cwd=None):
        super().__init__(argv, cwd, stdin=subprocess.PIPE)
        self.wait_for(r"^[^ ]+: ready$")
        # Answers start as "ready" did, so that no other message passes for one.
        self.answer = "^" + re.escape(self.lines[-1].split(" ")[0]) + " .*="

    def step(self, request=""):
        self.process.stdin.write(request.encode() + b"\n")
        self.process.stdin.flush()
        self.wait_for(self.answer)
        return {name: float(number) for name, number in PRINTED_NUMBER.findall(self.lines[-1])}


def run(argv, cwd=None, event=None):
    """Runs argv once; its figures are Command.finish's, and event_s when
    `event` is given: seconds from exec to the first line on standard error
    that matches it."""
    command = Command(argv, cwd)
    seconds = command.wait_for(event) if event else None
    figures = command.finish()
    if event:
        figures["event_s"] = seconds
    return figures


def alternate(first, second, count):
    """Steps two live commands in turn, A B A B, `count` pairs of figures."""
    return [(first.step(), second.step()) for _ in range(count)]


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
