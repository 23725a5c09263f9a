"""The tables varnel_bench.py prints: each of the viewer's figures over its
floor with the median, spread and verdict against its goal, model mode over
the classic mode, where start-up goes, and how every figure grows."""

import math
import statistics
import sys

import paired
from bench_plan import AGAINST_FLOORS, GROWTH_ROUNDS, MEMORY_ROUNDS, MEMORY_SECONDS, MIB, MODES, SIZES

GOALS = {"frame": 1.3, "start-up": 1.0, "memory": 2.0, "model frame": 1.25}
# At least 30 ticks a second while the parts collide.
MOST_TICK_MS = 1000.0 / 30
# Growth counts as linear when the cost above the empty viewer grows at
# most as the triangles to this power, fitted over the sizes from
# LINEAR_FROM up (n log n fits about 1.07 there, n squared 2). Below it,
# costs that hardly grow at all, such as filling the window, hide the
# growth.
LINEAR_FROM = 500_000
MOST_LINEAR_POWER = 1.15


class Report:
    """`results` are paired.rounds' of `bench`'s steps; `bench` tells the
    sizes, modes and files."""

    def __init__(self, bench, results):
        self.bench = bench
        self.results = results

    def figure(self, step, name):
        return paired.summarise(self.results, lambda r: r[step][name])

    def against_floors(self):
        title("Varnel against its floors (medians of the rounds; ratios taken within each round)")
        table = Table(["figure", "triangles", "Varnel", "floor", "ratio", "spread", "goal", "verdict"])
        for size in AGAINST_FLOORS:
            for mode in MODES:
                step = f"frame {mode} {size}"
                ratio = paired.summarise(self.results, lambda r: r[step]["frame_ratio"])
                table.row([f"frame, {mode}", count(size), f"{self.figure(step, 'frame_ms').median:.3g} ms",
                           f"{self.figure(step, 'floor_frame_ms').median:.3g} ms"] + ratio_cells(ratio, GOALS["frame"]))
            for mode in MODES:
                mine, floor = f"start-up {mode} {size}", f"start-up floor {size}"
                ratio = paired.summarise(self.results, lambda r: r[mine]["event_s"] / r[floor]["floor_s"])
                table.row([f"exec to first frame, {mode}", count(size), f"{self.figure(mine, 'event_s').median:.3g} s",
                           f"{self.figure(floor, 'floor_s').median:.3g} s"] + ratio_cells(ratio, GOALS["start-up"]))
            for mode in MODES:
                table.row([f"peak memory at start-up, {mode}", count(size)] +
                          self.memory_cells(f"start-up {mode} {size}", f"start-up {mode} empty", "rss_mib", size))
            for mode in MODES:
                table.row([f"peak memory over frames, {mode}", count(size)] +
                          self.memory_cells(f"memory {mode} {size}", f"memory {mode} empty", "frames_rss_mib", size))
        table.show()
        print("* the spread crosses the goal: a quieter or busier machine could give the other verdict.")
        print(f"Peak memory is above the same viewer on an empty model, over the model file's size; over frames,\n"
              f"{MEMORY_SECONDS} s of the viewer's own frames from its first one, in the first {MEMORY_ROUNDS} rounds.")

    def memory_cells(self, step, empty, name, size):
        """Peak memory above the empty viewer's, then the cells of its ratio
        to the file's size against the memory goal."""
        above = paired.summarise(self.results, lambda r: r[step][name] - r[empty][name])
        ratio = paired.summarise(self.results, lambda r: (r[step][name] - r[empty][name]) / self.bench.file_mib(size))
        return [f"{above.median:.0f} MiB", f"{self.bench.file_mib(size):.0f} MiB file"] + ratio_cells(ratio, GOALS["memory"])

    def model_against_classic(self):
        title("Model mode against the classic mode")
        table = Table(["figure", "triangles", "ratio", "spread", "goal", "verdict"])
        for size in AGAINST_FLOORS:
            model, classic = f"frame model {size}", f"frame classic {size}"
            same_picture = paired.summarise(
                self.results, lambda r: r[model]["frame_ratio"] / r[classic]["frame_ratio"])
            table.row(["frame, each over its floor", count(size)] + ratio_cells(same_picture, GOALS["model frame"]))
            for label, step, name in [("frame as shown", "frame", "frame_ms"),
                                      ("exec to first frame", "start-up", "event_s")]:
                ratio = paired.summarise(
                    self.results, lambda r: r[f"{step} model {size}"][name] / r[f"{step} classic {size}"][name])
                table.row([label, count(size)] + ratio_cells(ratio, None))
        table.show()
        print("The two modes' frames show different pictures (model mode the whole model at rest, the classic\n"
              "camera part of it on the first frame), so the frame goal is taken on each mode's time over the\n"
              "floor drawing its picture: what normals and mirrors add beyond the picture itself.")

    def start_up_phases(self):
        title("Where start-up goes (medians, seconds)")
        first = self.results[0][f"start-up classic {AGAINST_FLOORS[0]}"]
        phases = [name for name in first if name.startswith("phase ")]
        table = Table(["triangles", "mode"] + [name[6:] for name in phases] + ["exec to frame"])
        for size in AGAINST_FLOORS:
            for mode in MODES:
                step = f"start-up {mode} {size}"
                medians = [f"{self.figure(step, name).median:.2f}" for name in phases + ["event_s"]]
                table.row([count(size), mode] + medians)
        table.show()
        table = Table(["triangles", "scan", "empty window", "trimesh build", "floor"])
        for size in AGAINST_FLOORS:
            step = f"start-up floor {size}"
            table.row([count(size)] + [f"{self.figure(step, name).median:.2f}"
                                       for name in ["scan_s", "window_s", "trimesh_s", "floor_s"]])
        table.show()

    def growth(self):
        title("Growth (medians; per triangle above the same viewer on an empty model)")
        print(f"Sizes other than {' and '.join(count(size) for size in AGAINST_FLOORS)} run in the first "
              f"{GROWTH_ROUNDS} rounds only.")
        # label, step, figure, its unit, the unit per triangle, and how many of those in one of it
        columns = [("start-up", "start-up", "event_s", "s", "us", 1e6),
                   ("frame", "frame", "frame_ms", "ms", "ns", 1e6),
                   ("tick", "frame", "tick_ms", "ms", "ns", 1e6),
                   ("memory", "start-up", "rss_mib", "MiB", "B", MIB)]
        header = ["triangles"]
        for label, _, _, unit, per, _ in columns:
            header += [f"{label} {unit}", f"{per}/tri"]
        for mode in MODES:
            table = Table(header)
            growth = {label: [] for label, *_ in columns}
            for size in SIZES:
                triangles = self.figure(f"frame {mode} {size}", "triangles").median
                row = [count(size)]
                for label, step, name, _, _, scale in columns:
                    mine, empty = f"{step} {mode} {size}", f"{step} {mode} empty"
                    above = paired.summarise(self.results, lambda r: r[mine][name] - r[empty][name]).median
                    growth[label].append((size, triangles, above))
                    row += [number(self.figure(mine, name).median), number(above / triangles * scale)]
                table.row(row)
            table.row(["linear?"] + [cell for label, *_ in columns for cell in ("", linear(growth[label]))])
            print(f"\n{mode} mode:")
            table.show()
        print(f"Linear: the cost above the empty viewer grows at most as triangles^{MOST_LINEAR_POWER:g}; in brackets\n"
              f"the power fitted (least squares of log cost against log triangles, {count(LINEAR_FROM)} and up).")


    def colliding_parts(self):
        step = next(name for name in self.results[0] if name.startswith("ticks parts ") and "floor" not in name)
        parts = step.split()[-1]
        floor = f"ticks parts floor {parts}"
        title(f"{parts} parts colliding with --parts, {self.figure(step, 'triangles').median:.0f} triangles "
              f"(medians of the rounds; ratios taken within each round)")
        table = Table(["tick", "Varnel", "spread", "floor", "ratio", "spread", "goal", "verdict"])
        for label, name in [("mean over the drop", "drop_tick_ms"), ("worst", "worst_tick_ms"),
                            ("at rest (last 60)", "tick_ms")]:
            mine = self.figure(step, name)
            ratio = paired.summarise(self.results, lambda r: r[step][name] / r[floor][name])
            table.row([label, f"{mine.median:.2f} ms", f"{mine.low:.2f}-{mine.high:.2f}",
                       f"{self.figure(floor, name).median:.2f} ms", f"{ratio.median:.2f}",
                       f"{ratio.low:.2f}-{ratio.high:.2f}", f"<= {MOST_TICK_MS:.1f} ms", mine.verdict(MOST_TICK_MS)])
        table.show()
        print("The floor drops the same parts as ODE's own boxes and balls; the goal is on Varnel's own tick,\n"
              "30 ticks a second.")


def linear(points):
    """The verdict on (size, triangles, cost) at every size; costs lost in
    the noise (not above zero) are left out."""
    logs = [(math.log(triangles), math.log(cost))
            for size, triangles, cost in points if size >= LINEAR_FROM and cost > 0]
    if len(logs) < 2:
        return "unknown"
    power = statistics.linear_regression(*zip(*logs)).slope
    return ("yes" if power <= MOST_LINEAR_POWER else "NO") + f" ({power:.2f})"


def ratio_cells(summary, goal):
    return [f"{summary.median:.2f}", f"{summary.low:.2f}-{summary.high:.2f}",
            "-" if goal is None else f"<= {goal:g}", summary.verdict(goal)]


def number(value):
    """Three significant digits, without an exponent."""
    return f"{value:.0f}" if abs(value) >= 100 else f"{value:.3g}"


def count(triangles):
    return f"{triangles / 1e6:g}M" if triangles >= 1e6 else f"{triangles / 1e3:g}k"


def title(text):
    print(f"\n{text}\n{'=' * len(text)}")


def show_progress(text):
    if sys.stderr.isatty():
        sys.stderr.write(f"\r\033[K{text}")
        sys.stderr.flush()


class Table:
    def __init__(self, header):
        self.rows = [header]

    def row(self, cells):
        self.rows.append([str(cell) for cell in cells])

    def show(self):
        widths = [max(len(row[k]) for row in self.rows if k < len(row)) for k in range(len(self.rows[0]))]
        for index, row in enumerate(self.rows):
            cells = [cell.ljust(width) if k == 0 else cell.rjust(width)
                     for k, (cell, width) in enumerate(zip(row, widths))]
            print("  ".join(cells).rstrip())
            if index == 0:
                print("  ".join("-" * width for width in widths))

