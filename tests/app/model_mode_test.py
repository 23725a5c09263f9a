"""Model mode as a user meets it: `varnel [OPTIONS] MODEL` on models written
here, in folders of their own, photographed with --screenshot after the
drop has come to rest, and the command line's answers."""

import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

from model_files import box, material, mqo, png, sphere
from viewer_session import KINDS, Picture, Viewer, poll

VARNEL = os.environ["VARNEL"]
# Long enough for any drop to have come to rest.
AT_REST = "12"
KINDS["magenta"] = lambda r, g, b: r > 150 and b > 150 and g < 60
KINDS["cyan"] = lambda r, g, b: g > 150 and b > 150 and r < 60
KINDS["lit"] = lambda r, g, b: max(r, g, b) > 12 and not (r > 240 and g > 240 and b > 240) and not (
    b > 200 and r < 40 and g < 40)


def run(*arguments, cwd=None, timeout=120):
    return subprocess.run([VARNEL, *map(str, arguments)], capture_output=True, cwd=cwd, timeout=timeout,
                          env={**os.environ, "LANG": "C.UTF-8"})


class ModelMode(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="varnel-model-"))
        self.addCleanup(subprocess.run, ["rm", "-rf", str(self.folder)])

    def write(self, name, content):
        path = self.folder / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content)
        return path

    def photograph(self, model, *options, seconds=AT_REST):
        """The picture after `seconds` of the scene, and what was printed."""
        picture = self.folder / "picture.png"
        result = run("--screenshot", picture, "--after", seconds, *options, model, cwd="/")
        self.assertEqual(result.returncode, 0, result.stderr)
        ppm = subprocess.run(["convert", str(picture), "ppm:-"], capture_output=True, check=True).stdout
        return Picture(ppm), result

    def test_command_line_answers_and_refusals(self):
        fifo = self.folder / "fifo.mqo"
        os.mkfifo(fifo)
        usage = run("--help")
        self.assertEqual((usage.returncode, usage.stderr), (0, b""))
        self.assertTrue(usage.stdout.startswith(b"usage: varnel [OPTIONS] [MODEL]\n"))
        self.assertEqual(run("--version").returncode, 0)
        cases = [
            (["--frobnicate"], 2, b"varnel: unknown option --frobnicate\n" + usage.stdout),
            (["a.mqo", "b.mqo"], 2, b"varnel: more than one MODEL given\n" + usage.stdout),
            (["--parts"], 2, b"varnel: --parts needs a MODEL\n" + usage.stdout),
            ([self.folder / "car.mqo"], 1, f"varnel: cannot open '{self.folder}/car.mqo': "
                                           "No such file or directory\n".encode()),
            ([self.folder], 1, f"varnel: cannot open '{self.folder}': Is a directory\n".encode()),
            ([fifo], 1, f"varnel: cannot open '{fifo}': not a regular file\n".encode()),
        ]
        for arguments, status, message in cases:
            with self.subTest(arguments=arguments):
                result = run(*arguments, timeout=20)
                self.assertEqual((result.returncode, result.stdout, result.stderr), (status, b"", message))

    def test_every_scale_and_place_comes_to_rest_framed_alike(self):
        shares = []
        for scale, shift in ((1, 0), (0.01, 0), (10000, 0), (1, 20000)):
            with self.subTest(scale=scale, shift=shift):
                model = box("crate", (2 * scale, scale, scale), (shift, shift, -shift))
                picture, _ = self.photograph(self.write(f"far/away/crate{scale}-{shift}.mqo", mqo([model])))
                x, y = picture.centroid("lit")
                self.assertLess(abs(x - 400), 40)
                self.assertLess(abs(y - 300), 60)
                shares.append(picture.count("lit") / len(picture.pixels))
        self.assertGreater(min(shares), 0.05)
        self.assertLess(max(shares) / min(shares), 1.2)

    def test_faces_without_material_are_lit_grey_and_the_help_is_in_the_locale(self):
        picture, result = self.photograph(self.write("ball.mqo", mqo([sphere("ball", 10, 12, 24, material=None)])))
        greys = [p for p in picture.pixels if KINDS["lit"](*p)]
        self.assertGreater(len(greys), 5000)
        self.assertTrue(all(max(p) - min(p) < 8 for p in greys))
        self.assertLess(max(max(p) for p in greys), 250)
        self.assertGreater(len({p[0] // 16 for p in greys}), 4)
        self.assertIn("ESC:終了\n", result.stdout.decode("utf-8"))

    def test_unreadable_model_names_its_line_and_shows_an_empty_scene(self):
        broken = mqo([box("crate", (1, 1, 1))]).replace(b'Object "crate" {', b'Object "crate"')
        picture, result = self.photograph(self.write("broken.mqo", broken), seconds="1")
        self.assertRegex(result.stderr.decode(), r"^varnel: /\S+/broken\.mqo:4: expected .*\n$")
        self.assertEqual(picture.count("lit"), 0)

    def test_textures_are_found_where_modellers_keep_them(self):
        # A square of two halves: magenta at the left and cyan at the right,
        # its top right quarter see-through.
        picture = png([[(255, 0, 255, 255)] * 2 + [(0, 255, 255, 255 if y > 1 else 0)] * 2 for y in range(4)])
        square = ("card", [(-20, 0, -1), (20, 0, -1), (20, 40, -1), (-20, 40, -1)],
                  [((3, 2, 1, 0), 0, [(0, 0), (1, 0), (1, 1), (0, 1)])], [])
        # Named by the path it had on the modeller's machine, in Shift JIS.
        texture = r'tex("C:\Users\modeller\Desktop\テクスチャ.PNG")'
        lost = r'tex("..\..\outside.png")'
        model = mqo([square], [material("card", (1, 1, 1), emi=1, extra=texture),
                               material("lost", (1, 1, 1), extra=lost)], encoding="cp932")
        self.write("outside.png", picture)
        self.write("model/Textures/テクスチャ.png", picture)
        shot, result = self.photograph(self.write("model/card.mqo", model))
        self.assertGreater(shot.count("magenta"), 500)
        self.assertGreater(shot.count("cyan"), 200)
        self.assertLess(shot.count("cyan"), 0.75 * shot.count("magenta"))
        self.assertEqual(result.stderr.decode(),
                         f'varnel: material "lost": texture "..\\..\\outside.png": not found (looked in '
                         f'{self.folder}/model, {self.folder}/model/Texture, {self.folder}/model/texture, '
                         f'{self.folder}/model/Textures, {self.folder}/model/textures)\n')

    def test_parts_drop_each_object_on_its_own(self):
        table = box("table", (40, 10, 40), material=0)
        cup = box("cup", (8, 8, 8), (30, 60, 0), material=1)
        model = self.write("set.mqo", mqo([table, cup], [material("wood", (0.6, 0.4, 0.2)),
                                                         material("cup", (0, 1, 0), emi=0.5)]))
        together, _ = self.photograph(model)
        apart, _ = self.photograph(model, "--parts")
        # Held by its one body the cup floats above the table's corner;
        # dropped alone it falls to the ground beside it.
        self.assertGreater(apart.centroid("green")[1], together.centroid("green")[1] + 30)

    def test_screenshot_shows_what_the_window_shows(self):
        # Emission alone lights this box, so the orbiting lights don't change
        # it: only their white markers move.
        model = self.write("glow.mqo", mqo([box("glow", (30, 10, 20))], [material("glow", (0, 1, 0), 0, 0, 1)]))
        photographed, _ = self.photograph(model)
        with Viewer({}, arguments=[str(model)], title=f"Varnel - {model.name}") as viewer:
            shown = viewer.picture_where(lambda p: p.where("green") == photographed.where("green"),
                                         "the window to show the screenshot's picture")
            viewer.quit()
        self.assertGreater(shown.count("green"), 1000)


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
