"""Model mode's picture, as the modeller shows a model: the file's lights
and saved view, its materials' shaders, textures, vertex colours and
see-through faces, and the scene around the model; photographed with
--screenshot, and driven with keys in the window."""

import math
import sys
import unittest
from collections import Counter

from model_case import CORNER, FRONT_VIEW, KINDS, ModelCase
from model_files import box, material, mqo, png
from viewer_session import Viewer

KINDS["reddish"] = lambda r, g, b: r > g + 60 and r > b + 60
KINDS["greenish"] = lambda r, g, b: g > r + 60 and g > b + 60
KINDS["bluish"] = lambda r, g, b: b > r + 60 and b > g + 60
# The corner axes' pale red, green and blue.
KINDS["corner axis"] = lambda r, g, b: (r > 180 and 120 < g < 160 and 120 < b < 160) or (
    b > 190 and 130 < r < 150 and 145 < g < 170)


def scene(head, pitch, more=""):
    return f"Scene {{\r\n\thead {head}\r\n\tpich {pitch}\r\n{more}}}"


def coloured_box(size=(20, 20, 20), centre=(0, 10, 0)):
    """A box with a red front (+z), a blue right side (+x) and a green top,
    its other sides grey."""
    name, vertices, sides, keys = box("box", size, centre)
    kinds = [None, 1, None, 2, None, 3]
    faces = [(corners, 0 if kind is None else kind) for (corners, _), kind in zip(sides, kinds)]
    materials = [material("grey", (0.5, 0.5, 0.5)), material("red", (1, 0, 0), emi=0.3),
                 material("green", (0, 1, 0), emi=0.3), material("blue", (0, 0, 1), emi=0.3)]
    return [(name, vertices, faces, keys)], materials


def xs_of_row(pixels):
    """Where a row of pixels is black."""
    return [x for x, p in enumerate(pixels) if max(p) < 20] or [0]


def sides_seen(picture):
    return tuple(picture.count(kind) > 300 for kind in ("reddish", "bluish", "greenish"))


class ModelPicture(ModelCase):
    def test_lights_come_from_the_file_and_light_materials_never_clip(self):
        cube = [box("cube", (20, 20, 20), (0, 10, 0))]
        white = [material("white", (1, 1, 1), dif=0.8, amb=0.6)]
        picture, _ = self.photograph(self.write("white.mqo", mqo(cube, white)))
        greys = [p for p in picture.pixels if KINDS["lit"](*p)]
        self.assertGreater(len(greys), 5000)
        # Three faces in sight, each its own grey, none clipped to white.
        faces = [p for p, count in Counter(greys).items() if count > 300]
        self.assertGreaterEqual(len({p[0] // 4 for p in faces}), 3)
        self.assertLess(max(max(p) for p in greys), 255)
        # A red light over no ambient leaves green and blue out.
        red = scene(-0.5236, 0.5236, "\tamb 0 0 0\r\n\tdirlights 1 {\r\n\t\tlight {\r\n"
                                     "\t\t\tdir 0.408 0.408 0.816\r\n\t\t\tcolor 1 0 0\r\n\t\t}\r\n\t}\r\n")
        lit, _ = self.photograph(self.write("red.mqo", mqo(cube, white, extra=red)))
        reds = [p for p in lit.pixels if p[0] > 40 and not KINDS["scenery"](*p)]
        self.assertGreater(len(reds), 3000)
        self.assertTrue(all(g < 8 and b < 8 for _, g, b in reds))
        # The modeller's default when a file gives its Scene without lights.
        plain, _ = self.photograph(self.write("plain.mqo", mqo(cube, white, extra=scene(-0.5236, 0.5236))))
        self.assertLess(sum(a != b for a, b in zip(plain.pixels, picture.pixels)), 0.01 * len(picture.pixels))

    def test_shaders_textures_and_vertex_colours(self):
        # A black colour under a texture shows the texture.
        square = [(-20, 0, 0), (20, 0, 0), (20, 40, 0), (-20, 40, 0)]
        card = ("card", square, [((3, 2, 1, 0), 0, [(0, 0), (1, 0), (1, 1), (0, 1)])], [])
        self.write("Texture/halves.png", png([[(255, 0, 255, 255)] * 2 + [(0, 255, 255, 255)] * 2] * 4))
        textured = mqo([card], ['"t" col(0.000 0.000 0.000 1.000) dif(0.8) amb(0.6) emi(0.4) spc(0) power(5) '
                                'tex("halves.png")'], extra=FRONT_VIEW)
        picture, result = self.photograph(self.write("card.mqo", textured))
        self.assertEqual(result.stderr, b"")
        self.assertGreater(picture.count("magenta"), 1000)
        self.assertGreater(picture.count("cyan"), 1000)

        # The constant shader paints every face in its colour, whatever the
        # light.
        cube = [box("cube", (20, 20, 20), (0, 10, 0))]
        flat, _ = self.photograph(self.write("flat.mqo", mqo(cube, ['"c" shader(1) col(0.2 0.6 0.9 1) dif(0.8)'])))
        painted = [p for p in flat.pixels if not KINDS["scenery"](*p) and p != (0, 0, 0)]
        self.assertGreater(len(painted), 5000)
        self.assertTrue(all(max(abs(c - e) for c, e in zip(p, (51, 153, 230))) <= 1 for p in painted))

        # Vertex colours, red in the lowest byte, take the place of col.
        corners = [0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF0000FF]
        painted = ("painted", square, [((3, 2, 1, 0), 0, None, corners)], [])
        model = mqo([painted], ['"v" shader(1) vcol(1) col(1 1 1 1)'], extra=FRONT_VIEW)
        shot, _ = self.photograph(self.write("painted.mqo", model))
        for kind in ("reddish", "greenish", "bluish"):
            self.assertGreater(shot.count(kind), 500, kind)

    def test_see_through_faces_show_what_lies_behind_from_every_side(self):
        # A red box inside a half see-through one, like a seat under a
        # canopy.
        inside = box("seat", (10, 10, 10), (0, 15, 0), material=0)
        canopy = box("canopy", (30, 30, 30), (0, 15, 0), material=1)
        materials = [material("red", (1, 0, 0), emi=0.3), material("glass", (0.7, 0.8, 1.0, 0.4))]
        alone, _ = self.photograph(self.write("seat.mqo", mqo([inside], materials[:1], extra=FRONT_VIEW)))
        for head in (0, math.pi, math.pi / 2):
            with self.subTest(head=head):
                model = mqo([inside, canopy], materials, extra=scene(head, 0.3))
                picture, _ = self.photograph(self.write("canopy.mqo", model))
                self.assertGreater(picture.count("reddish"), 500)
        # Seen through the glass the red is paler than bare.
        through, _ = self.photograph(self.write("front.mqo", mqo([inside, canopy], materials, extra=FRONT_VIEW)))
        bare = [p for p in alone.pixels if KINDS["reddish"](*p)]
        covered = [p for p in through.pixels if KINDS["reddish"](*p)]
        self.assertGreater(sum(g for _, g, _ in covered) / len(covered), sum(g for _, g, _ in bare) / len(bare) + 20)

    def test_the_scene_around_shows_ground_shadow_and_corner_axes(self):
        black = [box("dark", (30, 10, 30), (0, 5, 0))]
        model = self.write("dark.mqo", mqo(black, [material("black", (0, 0, 0))]))
        picture, _ = self.photograph_whole(model)
        width, height = picture.width, len(picture.pixels) // picture.width
        row = lambda y: picture.pixels[y * width:(y + 1) * width]
        top, bottom = row(0)[width // 2], row(height - 1)[width // 2]
        # Neither black nor white: a gradient, brighter at the top.
        for pixel in (top, bottom):
            self.assertTrue(KINDS["scenery"](*pixel), pixel)
        self.assertGreater(sum(top), sum(bottom) + 60)
        # A black model stands out against it.
        self.assertGreater(sum(1 for p in picture.pixels if max(p) < 20), 3000)
        # The grid brightens some pixels of a row of ground near the
        # viewer; beside the model, its shadow darkens the ground.
        ground = row(height - 60)[CORNER:]
        self.assertGreater(sum(1 for p in ground if sum(p) > min(map(sum, ground)) + 30), 10)
        xs, ys = zip(*[(i % width, i // width) for i, p in enumerate(picture.pixels) if max(p) < 20])
        shaded = 0
        for y in range((min(ys) + max(ys)) // 2, max(ys)):
            beside = max(x for x in xs_of_row(row(y)) if x < width - 10) + 5
            shaded += sum(row(y)[beside]) < sum(row(y)[width - 5]) - 20
        self.assertGreater(shaded, 10)
        # The axes are in the corner, and the model far from it.
        corner = [picture.pixels[y * width + x] for y in range(height - CORNER, height) for x in range(CORNER)]
        self.assertGreater(sum(1 for p in corner if KINDS["corner axis"](*p)), 20)
        self.assertGreater(min(xs), CORNER)
        self.assertLess(max(ys), height - CORNER)

    def test_the_saved_view_and_the_model_still_where_it_was_modelled(self):
        objects, materials = coloured_box()
        cases = [
            ("front", scene(0, 0), (True, False, False)),
            ("right", scene(-math.pi / 2, 0), (False, True, False)),
            ("top", scene(0, math.pi / 2), (False, False, True)),
            ("no Scene: from the front, above and to the right", "", (True, True, True)),
        ]
        for name, extra, seen in cases:
            with self.subTest(name):
                picture, _ = self.photograph(self.write("view.mqo", mqo(objects, materials, extra=extra)),
                                             "--still", seconds="0")
                self.assertEqual(sides_seen(picture), seen)
        # Modelled high above the ground, it stays there, in the middle of
        # the picture; dropped, it starts higher still, out of the middle.
        objects, materials = coloured_box(centre=(0, 100, 0))
        model = self.write("high.mqo", mqo(objects, materials))
        still = [self.photograph(model, "--still", seconds=seconds)[0] for seconds in ("0", "5")]
        self.assertEqual(still[0].pixels, still[1].pixels)
        x, y = still[0].centroid("lit")
        self.assertLess(abs(x - 400), 60)
        self.assertLess(abs(y - 300), 60)
        dropped, _ = self.photograph(model, seconds="0")
        self.assertFalse(dropped.centroid("lit")[1] >= y - 60, "dropped, the model starts above where it rests")

    def test_keys_turn_to_views_hide_the_ground_show_the_lights_and_pause(self):
        # A cup modelled in the air over a table: still, it hangs there until
        # "p" lets it fall.
        objects, materials = coloured_box(centre=(0, 40, 0))
        table = box("table", (60, 10, 60), (0, 5, 0), material=0)
        model = self.write("keys.mqo", mqo(objects + [table], materials))
        with Viewer({}, arguments=["--parts", "--still", str(model)], title="Varnel - keys.mqo") as viewer:
            for key, seen in (("1", (True, False, False)), ("3", (False, True, False)),
                              ("7", (False, False, True)), ("0", (True, True, True))):
                viewer.key(key)
                viewer.picture_where(lambda p: sides_seen(p) == seen, f"'{key}' to show {seen}")
            first = viewer.picture()
            self.assertEqual(viewer.picture().pixels, first.pixels)
            viewer.key("p")
            viewer.picture_where(lambda p: p.pixels != first.pixels, "'p' to let the cup fall")

            def grid_lines(picture):
                y = len(picture.pixels) // picture.width - 40
                ground = picture.pixels[y * picture.width + CORNER:(y + 1) * picture.width]
                return sum(1 for p in ground if sum(p) > min(map(sum, ground)) + 30)
            viewer.picture_where(lambda p: grid_lines(p) > 10, "the ground grid")
            viewer.key("g")
            viewer.picture_where(lambda p: grid_lines(p) == 0, "'g' to hide the grid")
            viewer.key("g")
            viewer.picture_where(lambda p: grid_lines(p) > 10, "'g' to show the grid again")
            self.assertEqual(viewer.picture().count("white"), 0)
            viewer.key("l")
            viewer.picture_showing("white", 10)
            viewer.key("l")
            viewer.picture_where(lambda p: p.count("white") == 0, "'l' to hide the lights")
            viewer.quit()

if __name__ == "__main__":
    unittest.main(argv=sys.argv)
