"""Model mode's end-to-end cases share these: the viewer run on a model
written in a folder of the case's own and photographed with --screenshot,
and the colours model mode's pictures are told by."""

import os
import subprocess
import tempfile
import unittest
from pathlib import Path

from viewer_session import KINDS, Picture

VARNEL = os.environ["VARNEL"]
# Long enough for any drop to have come to rest.
AT_REST = "12"
KINDS["red"] = lambda r, g, b: r > 60 and r > 3 * g and r > 3 * b
# Model mode draws no blue axes through the model.
KINDS["blue"] = lambda r, g, b: b > 60 and b > 3 * r and b > 3 * g
KINDS["magenta"] = lambda r, g, b: r > 150 and b > 150 and g < 60
KINDS["cyan"] = lambda r, g, b: g > 150 and b > 150 and r < 60
# The blue-greys of the background, the ground grid and the shadows.
KINDS["scenery"] = lambda r, g, b: r + 6 < b < r + 50 and b >= g + 3 and b < 150
KINDS["lit"] = lambda r, g, b: max(r, g, b) > 12 and not (r > 240 and g > 240 and b > 240) and not KINDS["scenery"](
    r, g, b)
# The corner of the window where the axes are drawn.
CORNER = 100
# A model seen from its front, straight ahead.
FRONT_VIEW = "Scene {\r\n\thead 0\r\n\tpich 0\r\n}"


def run(*arguments, cwd=None, timeout=120):
    return subprocess.run([VARNEL, *map(str, arguments)], capture_output=True, cwd=cwd, timeout=timeout,
                          env={**os.environ, "LANG": "C.UTF-8"})


def without_corner(picture):
    """The picture with the corner axes blacked out, so that only the model
    and the scenery are left."""
    height = len(picture.pixels) // picture.width
    for y in range(height - CORNER, height):
        for x in range(CORNER):
            picture.pixels[y * picture.width + x] = (0, 0, 0)
    return picture


class ModelCase(unittest.TestCase):
    """A folder of the test's own to write models in, and photographs of them."""

    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="varnel-model-"))
        self.addCleanup(subprocess.run, ["rm", "-rf", str(self.folder)])

    def write(self, name, content):
        path = self.folder / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content)
        return path

    def photograph(self, model, *options, seconds=AT_REST):
        """The picture after `seconds` of the scene, its corner axes left
        out, and what was printed."""
        picture, result = self.photograph_whole(model, *options, seconds=seconds)
        return without_corner(picture), result

    def photograph_whole(self, model, *options, seconds=AT_REST):
        """The picture after `seconds` of the scene, and what was printed."""
        picture = self.folder / "picture.png"
        result = run("--screenshot", picture, "--after", seconds, *options, model, cwd="/")
        self.assertEqual(result.returncode, 0, result.stderr)
        ppm = subprocess.run(["convert", str(picture), "ppm:-"], capture_output=True, check=True).stdout
        return Picture(ppm), result
