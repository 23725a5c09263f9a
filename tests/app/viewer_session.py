"""Runs the built viewer on the test's virtual X display and drives it as a
person would: keys and mouse through xdotool, the window read back as pixels
with ImageMagick's import. Frames under a software renderer are slow and the
machine is shared, so every wait polls with a generous limit."""

import functools
import math
import os
import re
import subprocess
import tempfile
import time
from pathlib import Path

LIMIT_SECONDS = 120


def poll(condition, what):
    """Returns the first true value of condition(), or fails after the limit."""
    deadline = time.monotonic() + LIMIT_SECONDS
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise AssertionError("gave up waiting for " + what)
        time.sleep(0.1)
    return value


def xdotool(*arguments):
    return subprocess.run(["xdotool", *map(str, arguments)], capture_output=True, text=True).stdout


# What counts as each colour: the frame's own marks are flat, objects lit
# and shaded; the hills of the bundled model's sign are a paler green.
KINDS = {
    "black": lambda r, g, b: r < 8 and g < 8 and b < 8,
    "white": lambda r, g, b: r > 240 and g > 240 and b > 240,
    "blue": lambda r, g, b: b > 200 and r < 40 and g < 40,
    "red": lambda r, g, b: r > 200 and g < 40 and b < 40,
    "green": lambda r, g, b: g > 60 and g > r + 40 and g > b + 40,
    "hill green": lambda r, g, b: g > 60 and g > r + 25 and g > b + 25,
    "yellow": lambda r, g, b: r > 120 and g > 120 and b < 60 and abs(r - g) < 40,
}


class Picture:
    """One screenshot as a row-by-row list of (r, g, b) pixels."""

    def __init__(self, ppm):
        # Exactly one blank ends the header: the pixels may start with one.
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        data = ppm[header.end():] if header else b""
        if not header or len(data) != 3 * int(header[1]) * int(header[2]):
            raise AssertionError("not a whole 8-bit P6 picture")
        self.width = int(header[1])
        self.pixels = list(zip(data[0::3], data[1::3], data[2::3]))

    def where(self, kind):
        """Positions (x, y) of the pixels of the named colour."""
        return [(i % self.width, i // self.width) for i, pixel in enumerate(self.pixels) if KINDS[kind](*pixel)]

    def count(self, kind):
        return sum(1 for pixel in self.pixels if KINDS[kind](*pixel))

    def centroid(self, kind):
        """Mean position of the pixels of `kind`; not a number when none show,
        so that every comparison with it fails."""
        points = self.where(kind) or [(math.nan, math.nan)]
        return tuple(sum(axis) / len(points) for axis in zip(*points))


class Viewer:
    """The viewer running in a folder of its own that holds the given files,
    with these arguments, in a window of this title."""

    def __init__(self, files, arguments=(), title="Varnel"):
        self.title = title
        self.folder = tempfile.TemporaryDirectory(prefix="varnel-e2e-")
        folder = Path(self.folder.name)
        for name, content in files.items():
            (folder / name).parent.mkdir(parents=True, exist_ok=True)
            (folder / name).write_bytes(content)
        self.output, self.errors = folder / "stdout.bin", folder / "stderr.txt"
        with open(self.output, "wb") as out, open(self.errors, "wb") as err:
            # Unbuffered, so a line written to the viewer reaches it at once.
            self.process = subprocess.Popen([os.environ["VARNEL"], *arguments], cwd=folder, stdout=out,
                                            stderr=err, stdin=subprocess.PIPE, bufsize=0)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.process.stdin.close()
        self.folder.cleanup()

    def stdout(self):
        return self.output.read_bytes()

    def stderr(self):
        return self.errors.read_text(errors="replace")

    def windows(self, *options):
        return xdotool("search", *options, "--name", f"^{re.escape(self.title)}$").split()

    @functools.cached_property
    def window(self):
        """The viewer's window, waited for on first use."""
        def search():
            if self.process.poll() is not None:
                raise AssertionError(f"the viewer ended early with status "
                                     f"{self.process.returncode}:\n{self.stderr()}")
            return next(iter(self.windows("--onlyvisible")), None)
        return poll(search, "the viewer's window")

    def picture(self):
        grab = subprocess.run(["/usr/bin/import", "-window", self.window, "-depth", "8", "ppm:-"], capture_output=True)
        if grab.returncode != 0:
            raise AssertionError("cannot read the window: " + grab.stderr.decode(errors="replace"))
        return Picture(grab.stdout)

    def picture_showing(self, kind, minimum=1):
        """The first screenshot with at least `minimum` pixels of `kind`."""
        return self.picture_where(lambda picture: picture.count(kind) >= minimum, f"{minimum} {kind} pixels")

    def picture_where(self, condition, what):
        """The first screenshot for which condition(picture) holds."""
        def attempt():
            try:
                picture = self.picture()
            except AssertionError:
                return None  # not viewable yet, while the window maps
            return picture if condition(picture) else None
        return poll(attempt, what)

    # Keys go to the window under the pointer, as the X server's focus
    # follows the pointer when no window manager runs.
    def key(self, name, repeat=1):
        self.pointer(790, 590, "key", "--repeat", repeat, "--delay", 5, name)

    def pointer(self, x, y, *then):
        """Moves the pointer to (x, y) in the window, then does `then`."""
        xdotool("mousemove", "--window", self.window, x, y, *then)

    def quit(self, key="q"):
        """Ends the viewer with a quit key; it must end with status 0 and
        without a sanitizer report."""
        self.key(key)
        status = self.process.wait(timeout=LIMIT_SECONDS)
        errors = self.stderr()
        if status != 0 or "Sanitizer" in errors or "runtime error" in errors:
            raise AssertionError(f'"{key}" ended the viewer with status {status}:\n{errors}')
