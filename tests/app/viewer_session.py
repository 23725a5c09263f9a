"""Runs the built viewer on the test's virtual X display and drives it as a
person would: keys and mouse through xdotool, the window read back as pixels
with ImageMagick's import. Frames under a software renderer are slow and the
machine is shared, so every wait polls with a generous limit."""

import os
import re
import subprocess
import tempfile
import time

LIMIT_SECONDS = 120


def poll(condition, what, limit=LIMIT_SECONDS, interval=0.1):
    """Returns the first true value of condition(), or fails after `limit`."""
    deadline = time.monotonic() + limit
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("gave up waiting for " + what)
        time.sleep(interval)


def xdotool(*arguments):
    return subprocess.run(["xdotool", *map(str, arguments)], capture_output=True,
                          text=True).stdout


class Picture:
    """One screenshot as three planes of red, green and blue bytes, row by row."""

    def __init__(self, ppm):
        # Exactly one blank ends the header: the pixels may start with one.
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        if not header:
            raise ValueError("not an 8-bit P6 picture")
        self.width, self.height = int(header[1]), int(header[2])
        pixels = ppm[header.end():]
        if len(pixels) != 3 * self.width * self.height:
            raise ValueError("P6 picture cut short")
        self.red = pixels[0::3]
        self.green = pixels[1::3]
        self.blue = pixels[2::3]

    def where(self, kind):
        """Positions (x, y) of the pixels for which kind(r, g, b) holds."""
        width = self.width
        return [(i % width, i // width)
                for i, pixel in enumerate(zip(self.red, self.green, self.blue))
                if kind(*pixel)]

    def count(self, kind):
        return sum(1 for pixel in zip(self.red, self.green, self.blue) if kind(*pixel))


def centroid(points):
    if not points:
        return None
    return (sum(x for x, _ in points) / len(points), sum(y for _, y in points) / len(points))


# Flat colours of the frame's own marks; objects are lit and shaded.
def is_black(r, g, b):
    return r < 8 and g < 8 and b < 8


def is_white(r, g, b):
    return r > 240 and g > 240 and b > 240


def is_blue(r, g, b):
    return b > 200 and r < 40 and g < 40


def is_red(r, g, b):
    return r > 200 and g < 40 and b < 40


def is_green(r, g, b):
    return g > 60 and g > r + 40 and g > b + 40


class Viewer:
    """The viewer running in a folder of its own, with the given files."""

    def __init__(self, files):
        self.folder = tempfile.TemporaryDirectory(prefix="varnel-e2e-")
        for name, content in files.items():
            path = os.path.join(self.folder.name, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as file:
                file.write(content)
        self.stdout_path = os.path.join(self.folder.name, "stdout.bin")
        self.stderr_path = os.path.join(self.folder.name, "stderr.txt")
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.process = subprocess.Popen(
                [os.environ["VARNEL"]], cwd=self.folder.name, stdout=out, stderr=err,
                stdin=subprocess.PIPE)
        self.window = None

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.process.stdin.close()
        self.folder.cleanup()

    def stdout(self):
        with open(self.stdout_path, "rb") as file:
            return file.read()

    def stderr(self):
        with open(self.stderr_path, "rb") as file:
            return file.read().decode(errors="replace")

    def find_window(self):
        def search():
            if self.process.poll() is not None:
                raise AssertionError(f"the viewer ended early with status "
                                     f"{self.process.returncode}:\n{self.stderr()}")
            found = xdotool("search", "--onlyvisible", "--name", "^Varnel$").split()
            return found[0] if found else None
        self.window = poll(search, "the viewer's window")
        return self.window

    def window_has_no_viewer_yet(self):
        return not xdotool("search", "--name", "^Varnel$").split()

    def geometry(self):
        shell = xdotool("getwindowgeometry", "--shell", self.window)
        return dict(line.split("=", 1) for line in shell.split())

    def picture(self):
        grab = subprocess.run(["/usr/bin/import", "-window", self.window, "-depth", "8", "ppm:-"],
                              capture_output=True)
        if grab.returncode != 0:
            raise AssertionError("cannot read the window: " + grab.stderr.decode(errors="replace"))
        return Picture(grab.stdout)

    def picture_showing(self, kind, what, minimum=1):
        """The first screenshot with at least `minimum` pixels of `kind`."""
        def attempt():
            try:
                picture = self.picture()
            except AssertionError:
                return None  # not viewable yet, while the window maps
            return picture if picture.count(kind) >= minimum else None
        return poll(attempt, what)

    # Keys go to the window under the pointer, as the X server's focus
    # follows the pointer when no window manager runs.
    def key(self, name, repeat=1):
        xdotool("mousemove", "--window", self.window, 790, 590)
        xdotool("key", "--repeat", repeat, "--delay", 5, name)

    def press(self, button, x, y):
        xdotool("mousemove", "--window", self.window, x, y, "mousedown", button)

    def move(self, x, y):
        xdotool("mousemove", "--window", self.window, x, y)

    def release(self, button):
        xdotool("mouseup", button)

    def send_line(self, text=b"\n"):
        self.process.stdin.write(text)
        self.process.stdin.flush()

    def quit(self, key="q"):
        """Ends the viewer with a quit key; it must end with status 0 and
        without a sanitizer report."""
        self.key(key)
        try:
            status = self.process.wait(timeout=LIMIT_SECONDS)
        except subprocess.TimeoutExpired:
            raise AssertionError(f'the viewer did not end on "{key}"')
        errors = self.stderr()
        if status != 0 or "Sanitizer" in errors or "runtime error" in errors:
            raise AssertionError(f'"{key}" ended the viewer with status {status}:\n{errors}')
