#!/usr/bin/env python3
"""The viewer against its floors, in both modes, on the benchmark model.

Usage: varnel_bench.py [--rounds N] BUILD_DIR   (needs a display: run.sh
starts a virtual one)

Every round runs each measurement once, sizes and modes interleaved, so
every figure below is a median over the rounds of a ratio taken within one
round, with its spread. Frames go further: the viewer and the floor both
stay running and draw one frame each in turn. The floors are what a minimal
program spends on the same work, measured in the same round:
  frame     gl_floor drawing the same triangles from one display list per
            object, grouped by material into GL_TRIANGLES, in the same
            picture (the classic scene's first frame, or model mode's
            model at rest);
  start-up  a streaming scan of the file + gl_floor's exec to the first
            frame of an empty window + ODE's own collision data for the
            same triangles, one after the other;
  memory    the model file's size, against the viewer's peak memory above
            the same viewer on an empty model: at start-up (to the first
            frame), and over a minute of the viewer's own frames after it;
  parts     tick_floor: ODE alone dropping the same hundred parts with
            --parts as its own boxes and balls, against the viewer's ticks,
            whose parts meet through their hulls.
"""

import argparse
import math
import os
import re
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import paired  # noqa: E402
from bench_plan import AGAINST_FLOORS, GROWTH_ROUNDS, MEMORY_ROUNDS, MEMORY_SECONDS, MIB, MODES, SIZES  # noqa: E402
from bench_report import Report, show_progress  # noqa: E402

# The picture gl_floor draws beside each mode's frames, and when the
# viewer shows that picture: the classic scene on its first frame, with
# every body where it starts, model mode once the model lies at rest where
# it was modelled.
FLOOR_VIEW = {"classic": "classic", "model": "framed"}
FRAMES_AT_REST = {"classic": False, "model": True}
# Frames timed in each run, each beside one of the floor's when there is one.
FRAMES = 9
# About ten seconds of the scene: both modes' models lie on the ground for
# the last 60 ticks, which frame_bench times.
TICKS = 600
STARTUP_LINE = r"^varnel: start-up: "
EMPTY_MODEL = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\nEof\r\n"
# Crates and balls, ten model units across, piled in four loose layers of
# five by five, each layer shifted so that it lands on the one below.
PARTS = 100
PART_LAYERS = 4


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=paired.PAIRS)
    parser.add_argument("build", type=Path)
    options = parser.parse_args()
    if options.rounds < paired.PAIRS:
        parser.error(f"--rounds must be at least {paired.PAIRS}")
    started = time.monotonic()
    load_before = os.getloadavg()
    show_progress("writing the benchmark models")
    bench = Bench(options.build.resolve())
    try:
        results = paired.rounds(bench.steps(), options.rounds, progress=show_progress)
    except paired.RunFailed as failure:
        sys.exit(f"varnel_bench: {failure}")
    show_progress("")
    report = Report(bench, results)
    report.against_floors()
    report.model_against_classic()
    report.start_up_phases()
    report.growth()
    report.colliding_parts()
    load_after = os.getloadavg()
    print(f"\n{options.rounds} rounds in {time.monotonic() - started:.0f} s; load average "
          f"{load_before[0]:.2f} before, {load_after[0]:.2f} after (1 minute), "
          f"{load_after[2]:.2f} over the last 15 minutes, on {os.cpu_count()} cores.")


class Bench:
    """The programs, the models and each measurement as a step."""

    def __init__(self, build):
        self.varnel = build / "app" / "varnel"
        self.frame_bench = build / "bench" / "frame" / "frame_bench"
        self.gl_floor = build / "bench" / "floor" / "gl_floor"
        self.startup_floor = build / "bench" / "floor" / "startup_floor"
        self.tick_floor = build / "bench" / "floor" / "tick_floor"
        self.models = build / "bench-models"
        for size in SIZES:
            paired.run([build / "bench" / "bench_model" / "make_bench_model", self.models, str(size)])
        (self.models / "empty.mqo").write_bytes(EMPTY_MODEL.encode())
        self.parts_model = self.models / f"parts-{PARTS}.mqo"
        self.parts_model.write_bytes(parts_model().encode())
        for size in SIZES + [None]:
            folder = self.classic_folder(size)
            folder.mkdir(exist_ok=True)
            link = folder / "qemi_one.mqo"
            if not link.is_symlink():
                link.symlink_to(self.model(size))

    def model(self, size):
        return self.models / (f"bench-{size}.mqo" if size else "empty.mqo")

    def classic_folder(self, size):
        return self.models / f"classic-{size or 'empty'}"

    def file_mib(self, size):
        return self.model(size).stat().st_size / MIB

    def steps(self):
        """Every measurement of a round; each of the viewer's figures runs
        right beside the floor it is measured against."""
        steps = []
        for mode in MODES:
            steps.append((f"start-up {mode} empty", self.start_up(mode, None)))
            steps.append((f"frame {mode} empty", self.frames(mode, None)))
            steps.append((f"memory {mode} empty", self.memory_over_frames(mode, None), MEMORY_ROUNDS))
        for size in SIZES:
            against_floors = size in AGAINST_FLOORS
            limit = [] if against_floors else [GROWTH_ROUNDS]
            for mode in MODES:
                steps.append((f"start-up {mode} {size}", self.start_up(mode, size), *limit))
            if against_floors:
                steps.append((f"start-up floor {size}", self.start_up_floor(size)))
            for mode in MODES:
                steps.append((f"frame {mode} {size}", self.frames(mode, size, against_floors), *limit))
            if against_floors:
                for mode in MODES:
                    steps.append((f"memory {mode} {size}", self.memory_over_frames(mode, size), MEMORY_ROUNDS))
        steps.append((f"ticks parts {PARTS}", self.part_ticks()))
        steps.append((f"ticks parts floor {PARTS}", self.part_tick_floor()))
        return steps

    def mode_arguments(self, mode, size):
        return [self.model(size)] if mode == "model" else []

    def start_up(self, mode, size):
        argv = [self.varnel, "--timings", "--screenshot", "/dev/null", "--after", "0"] + self.mode_arguments(mode, size)
        return lambda: with_phases(paired.run(argv, cwd=self.classic_folder(size), event=STARTUP_LINE))

    def frames(self, mode, size, against_floor=False):
        """frame_bench's figures, frame_ms the median of its frames; beside
        the floor, frame after frame, also the floor's (floor_frame_ms) and
        the median of the pairs' ratios (frame_ratio)."""
        argv = [self.frame_bench, str(TICKS)] + self.mode_arguments(mode, size)

        def measure():
            viewer = paired.Live(argv, cwd=self.classic_folder(size))
            if FRAMES_AT_REST[mode]:
                ticks = viewer.step("ticks")
            if against_floor:
                floor_program = paired.Live([self.gl_floor, "frame", str(size), FLOOR_VIEW[mode]])
                pairs = paired.alternate(viewer, floor_program, FRAMES)
                floor_program.finish()
            else:
                pairs = [(viewer.step(), None) for _ in range(FRAMES)]
            if not FRAMES_AT_REST[mode]:
                ticks = viewer.step("ticks")
            figures = viewer.finish() | ticks
            figures["frame_ms"] = statistics.median(mine["frame_ms"] for mine, _ in pairs)
            if against_floor:
                figures["floor_frame_ms"] = statistics.median(floor["frame_ms"] for _, floor in pairs)
                ratios = [mine["frame_ms"] / floor["frame_ms"] for mine, floor in pairs]
                figures["frame_ratio"] = statistics.median(ratios)
            return figures

        return measure

    def memory_over_frames(self, mode, size):
        """The viewer itself, as a user starts it, drawing frames at its own
        pace for MEMORY_SECONDS from its first frame: its peak memory by then
        as frames_rss_mib."""
        argv = [self.varnel, "--timings"] + self.mode_arguments(mode, size)

        def measure():
            viewer = paired.Command(argv, cwd=self.classic_folder(size))
            viewer.wait_for(STARTUP_LINE)
            time.sleep(MEMORY_SECONDS)
            peak = viewer.peak_mib()
            viewer.stop()
            return {"frames_rss_mib": peak}

        return measure

    def part_ticks(self):
        """frame_bench's tick times over the drop of the parts model."""
        argv = [self.frame_bench, str(TICKS), "--parts", self.parts_model]

        def measure():
            viewer = paired.Live(argv)
            return viewer.step("ticks") | viewer.finish()

        return measure

    def part_tick_floor(self):
        return lambda: paired.run([self.tick_floor, str(TICKS), self.parts_model])

    def start_up_floor(self, size):
        def measure():
            parts = paired.run([self.startup_floor, self.model(size), str(size)])
            window = paired.run([self.gl_floor, "window"], event=r"^gl_floor: first frame")
            figures = {"scan_s": parts["scan_s"], "window_s": window["event_s"], "trimesh_s": parts["trimesh_s"]}
            figures["floor_s"] = sum(figures.values())
            return figures

        return measure

def parts_model():
    """The model of PARTS crates and balls, each an object of its own."""
    objects = []
    for index in range(PARTS):
        layer, place = divmod(index, PARTS // PART_LAYERS)
        row, column = divmod(place, 5)
        centre = (12 * column + 3 * layer, 6 + 12 * layer, 12 * row + 2 * layer)
        objects.append(crate(index, centre) if (row + column + layer) % 2 else ball(index, centre))
    return "\r\n".join(["Metasequoia Document", "Format Text Ver 1.0", ""] + objects + ["Eof", ""])


def crate(index, centre):
    corners = [(x, y, z) for z in (-5, 5) for y in (-5, 5) for x in (-5, 5)]
    sides = [(0, 1, 3, 2), (4, 6, 7, 5), (0, 4, 5, 1), (2, 3, 7, 6), (0, 2, 6, 4), (1, 5, 7, 3)]
    return part_object(f"crate{index}", centre, corners, sides)


def ball(index, centre, rings=8, segments=16):
    """A ball of radius 5: its poles, and rings - 1 circles of segments corners."""
    corners = [(0, 5, 0)]
    for ring in range(1, rings):
        polar = math.pi * ring / rings
        corners += [(5 * math.sin(polar) * math.cos(2 * math.pi * s / segments), 5 * math.cos(polar),
                     5 * math.sin(polar) * math.sin(2 * math.pi * s / segments)) for s in range(segments)]
    corners.append((0, -5, 0))
    at = lambda ring, s: 1 + (ring - 1) * segments + s % segments
    faces = [(0, at(1, s + 1), at(1, s)) for s in range(segments)]
    faces += [(at(r, s), at(r, s + 1), at(r + 1, s + 1), at(r + 1, s)) for r in range(1, rings - 1)
              for s in range(segments)]
    faces += [(at(rings - 1, s), at(rings - 1, s + 1), len(corners) - 1) for s in range(segments)]
    return part_object(f"ball{index}", centre, corners, faces)


def part_object(name, centre, corners, faces):
    lines = [f'Object "{name}" {{', f"\tvertex {len(corners)} {{"]
    lines += [f"\t\t{centre[0] + x:.4f} {centre[1] + y:.4f} {centre[2] + z:.4f}" for x, y, z in corners]
    lines += ["\t}", f"\tface {len(faces)} {{"]
    lines += [f"\t\t{len(face)} V({' '.join(map(str, face))})" for face in faces]
    return "\r\n".join(lines + ["\t}", "}"])


def with_phases(figures):
    """Adds the viewer's own start-up phases, as `phase NAME` in seconds."""
    line = re.search(STARTUP_LINE + r"(.*?);", figures["stderr"], re.MULTILINE)
    for name, seconds in re.findall(r"([a-z][a-z ]*?) ([0-9.]+) s", line.group(1)):
        figures[f"phase {name}"] = float(seconds)
    return figures



if __name__ == "__main__":
    main()
