"""Pictures drawn without a display: --screenshot offscreen through EGL
when there is no DISPLAY or with --offscreen, as alike to the window's
picture as two renderers' roundings allow; --size, and --background
transparent, which leaves the model alone over a clear background."""

import os
import shutil
import subprocess
import sys
import unittest

from model_case import VARNEL, ModelCase
from model_files import box, material, mqo
from rgba_picture import RgbaPicture, share_unlike
from sanitizer_options import without_leak_check

# Of the pixels, the share that may differ by more than 8 in a channel.
MOST_UNLIKE = 0.01
ASSETS = os.environ["VARNEL_ASSETS"]


def canopy():
    """A red seat inside a see-through canopy."""
    seat = box("seat", (10, 10, 10), (0, 15, 0), material=0)
    glass = box("canopy", (30, 30, 30), (0, 15, 0), material=1)
    return mqo([seat, glass], [material("red", (1, 0, 0), emi=0.3), material("glass", (0.7, 0.8, 1.0, 0.4))])


def bounds(points):
    xs, ys = zip(*points)
    return min(xs), min(ys), max(xs), max(ys)


class Offscreen(ModelCase):
    def varnel(self, *arguments, display=True, cwd="/", env=()):
        """The viewer's run, with the test's display or with none."""
        environment = {**os.environ, "LANG": "C.UTF-8", **dict(env)}
        if not display:
            environment.pop("DISPLAY", None)
        if not display or "--offscreen" in arguments:
            # NOTE: in a UTF-8 locale, with Mesa's EGL loaded, the leak check
            # of a sanitizer build crashes in its own reading of the threads'
            # dynamic TLS; the window's runs of the same scenes keep it.
            environment = without_leak_check(environment)
        return subprocess.run([VARNEL, *map(str, arguments)], capture_output=True, cwd=cwd, timeout=300,
                              env=environment)

    def shoot(self, name, *arguments, display=True, cwd="/"):
        """The screenshot the arguments ask for, written as `name`."""
        path = self.folder / name
        result = self.varnel("--screenshot", path, *arguments, display=display, cwd=cwd)
        self.assertEqual(result.returncode, 0, result.stderr)
        return RgbaPicture(path)

    def test_offscreen_pictures_equal_the_window_pictures(self):
        shutil.copytree(ASSETS, self.folder / "classic")
        bundled = self.folder / "classic" / "qemi_one.mqo"
        glass = self.write("canopy.mqo", canopy())
        cases = [
            ("the bundled model at rest", ["--after", "6", bundled], "/"),
            ("a see-through canopy, still", ["--still", "--after", "0", glass], "/"),
            ("over a clear background", ["--still", "--background", "transparent", "--size", "300x400", glass], "/"),
            ("the classic scene falling", ["--after", "0.5"], self.folder / "classic"),
        ]
        for name, arguments, cwd in cases:
            with self.subTest(name):
                window = self.shoot("window.png", *arguments, cwd=cwd)
                offscreen = self.shoot("offscreen.png", "--offscreen", *arguments, cwd=cwd)
                headless = self.shoot("headless.png", *arguments, display=False, cwd=cwd)
                self.assertLessEqual(share_unlike(window, offscreen), MOST_UNLIKE)
                self.assertLessEqual(share_unlike(window, headless), MOST_UNLIKE)
                # Something was drawn, not one flat colour.
                self.assertGreater(len(set(offscreen.pixels)), 5)

    def test_the_size_asked_for_frames_the_model_in_it(self):
        model = self.write("crate.mqo", mqo([box("crate", (20, 20, 20), (0, 10, 0))]))
        for size in ("320x200", "200x320", "1x1", "4096x4096"):
            with self.subTest(size=size):
                width, height = map(int, size.split("x"))
                picture = self.shoot("sized.png", "--offscreen", "--still", "--background", "transparent",
                                     "--size", size, model)
                self.assertEqual((picture.width, picture.height), (width, height))
                if width < 100:
                    continue
                left, top, right, bottom = bounds(picture.covered())
                self.assertLess(abs((left + right) / 2 - width / 2), width / 10)
                self.assertLess(abs((top + bottom) / 2 - height / 2), height / 10)
                # Half the height, or three quarters of the width when that
                # is less.
                self.assertLess(max((bottom - top) / height / 0.5, (right - left) / width / 0.75), 1.05)
                self.assertGreater(max((bottom - top) / height / 0.5, (right - left) / width / 0.75), 0.8)
        window = self.shoot("window.png", "--still", "--size", "320x200", model)
        self.assertEqual((window.width, window.height), (320, 200))

    def test_a_clear_background_leaves_the_model_alone(self):
        model = self.write("crate.mqo", mqo([box("crate", (30, 10, 30), (0, 5, 0))], [material("grey", (.5, .5, .5))]))
        staged = self.shoot("staged.png", "--offscreen", "--still", model)
        alone = self.shoot("alone.png", "--offscreen", "--still", "--background", "transparent", model)
        # No background, ground, shadow or corner axes: each pixel is the
        # model's, opaque, or clear.
        self.assertEqual({p[3] for p in alone.pixels}, {0, 255})
        self.assertEqual(alone.at(0, 0), (0, 0, 0, 0))
        self.assertEqual(alone.at(10, alone.height - 10), (0, 0, 0, 0))
        # The model is drawn as it is over the stage.
        model_pixels = [(p, q) for p, q in zip(alone.pixels, staged.pixels) if p[3] == 255]
        self.assertGreater(len(model_pixels), 5000)
        self.assertLess(sum(1 for p, q in model_pixels if max(abs(a - b) for a, b in zip(p, q)) > 8), 10)

        # Glass over nothing lets what is behind the picture show through,
        # in its own colour; the seat behind the glass covers it all.
        picture = self.shoot("glass.png", "--offscreen", "--still", "--background", "transparent",
                             self.write("canopy.mqo", canopy()))
        glass = [p for p in picture.pixels if 0 < p[3] < 255]
        self.assertGreater(len(glass), 5000)
        self.assertTrue(all(90 < a < 200 and b > r for r, g, b, a in glass))
        seat = [p for p in picture.pixels if p[3] == 255]
        self.assertGreater(len(seat), 300)
        self.assertTrue(all(r > g + 40 for r, g, b, a in seat))

    def test_sizes_and_backgrounds_it_refuses(self):
        model = self.write("crate.mqo", mqo([box("crate", (20, 20, 20), (0, 10, 0))]))
        picture = self.folder / "refused.png"
        usage = self.varnel("--help").stdout
        size = b"varnel: --size needs WIDTHxHEIGHT, each from 1 to 4096 pixels\n"
        cases = [
            (["--size", "0x600"], size),
            (["--size", "4097x600"], size),
            (["--size", "800x99999999999999999999"], size),
            (["--size", "800x"], size),
            (["--size", "x600"], size),
            (["--size", "800X600"], size),
            (["--size", "800x600x1"], size),
            (["--size", "-800x600"], size),
            (["--size", " 800x600"], size),
            (["--size"], size),
            (["--background", "white", "--screenshot", picture, model], b"varnel: --background needs the word "
                                                                        b"transparent\n"),
            (["--background", "transparent", model], b"varnel: --background needs --screenshot\n"),
            (["--background", "transparent", "--screenshot", picture], b"varnel: --background needs a MODEL\n"),
            (["--offscreen", model], b"varnel: --offscreen needs --screenshot\n"),
        ]
        for arguments, message in cases:
            with self.subTest(arguments=arguments):
                result = self.varnel(*arguments)
                self.assertEqual((result.returncode, result.stdout, result.stderr), (2, b"", message + usage))
        self.assertFalse(picture.exists())

        # Without Mesa's EGL there is no picture to draw in, and no file.
        result = self.varnel("--screenshot", picture, model, display=False,
                             env={"__EGL_VENDOR_LIBRARY_FILENAMES": str(self.folder / "none.json")})
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr, b"varnel: cannot draw offscreen: EGL has no surfaceless platform "
                                        b"(Mesa's EGL is needed)\n")
        self.assertFalse(picture.exists())


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
