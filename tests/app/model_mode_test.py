"""Model mode as a user meets it: `varnel [OPTIONS] MODEL` on models written
here, in folders of their own, photographed with --screenshot after the
drop has come to rest, and the command line's answers."""

import math
import os
import sys
import time
import unittest
from pathlib import Path

from model_case import FRONT_VIEW, KINDS, ModelCase, run
from model_files import box, dxt1, material, mqo, mqoz, png, sphere
from viewer_session import Viewer, poll, xdotool

# The pictures in a row that show a live scene at rest.
STILL_PICTURES = 4
# Bodies at rest still shake by a fraction of a pixel, which turns up to
# some 50 pixels along their edges; the plain drag of the crates case turns
# some 1100.
SHAKE_PIXELS = 200


def near(point, other, distance):
    """Whether two points on the screen lie within `distance` of each other."""
    return math.dist(point, other) <= distance


def green_at(picture, x, y):
    """Whether the pixel at (x, y) or one beside it is green."""
    return any(KINDS["green"](*picture.pixels[picture.width * (y + dy) + x + dx])
               for dx in (-1, 0, 1) for dy in (-1, 0, 1))


class ModelMode(ModelCase):
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

    def test_unreadable_model_names_its_line_and_shows_an_empty_scene(self):
        broken = mqo([box("crate", (1, 1, 1))]).replace(b'Object "crate" {', b'Object "crate"')
        picture, result = self.photograph(self.write("broken.mqo", broken), seconds="1")
        self.assertRegex(result.stderr.decode(), r"^varnel: /\S+/broken\.mqo:4: expected .*\n$")
        self.assertEqual(picture.count("lit"), 0)

    def test_textures_are_found_where_modellers_keep_them_in_each_code_page(self):
        # A square of two halves: magenta at the left and cyan at the right,
        # its top right quarter see-through.
        picture = png([[(255, 0, 255, 255)] * 2 + [(0, 255, 255, 255 if y > 1 else 0)] * 2 for y in range(4)])
        self.write("outside.png", picture)
        square = [(-20, 0, -1), (20, 0, -1), (20, 40, -1), (-20, 40, -1)]
        # Named by the path it had on the modeller's machine in Shift JIS, or
        # in a newer file's own code page; one more climbs out of the folder.
        for code_page, encoding, name, texture, found in (
                ("932", "cp932", "看板", r"C:\Users\modeller\Desktop\テクスチャ.PNG", "Textures/テクスチャ.png"),
                ("utf8", "utf-8", "木目", "テクスチャ.png", "テクスチャ.png"),
                ("949", "cp949", "경", "풍경.png", "풍경.png")):
            with self.subTest(code_page=code_page):
                card = (name, square, [((3, 2, 1, 0), 0, [(0, 0), (1, 0), (1, 1), (0, 1)])], [])
                model = mqo([card], [material(name, (1, 1, 1), emi=1, extra=f'tex("{texture}")'),
                                     material(name, (1, 1, 1), extra=r'tex("..\..\outside.png")')],
                            header="Format Text Ver 1.1", extra=f"CodePage {code_page}", encoding=encoding)
                self.write(f"{code_page}/{found}", picture)
                shot, result = self.photograph(self.write(f"{code_page}/card.mqo", model))
                self.assertGreater(shot.count("magenta"), 500)
                self.assertGreater(shot.count("cyan"), 200)
                self.assertLess(shot.count("cyan"), 0.75 * shot.count("magenta"))
                looked = ", ".join(f"{self.folder}/{code_page}{sub}" for sub in ("", "/Texture", "/texture",
                                                                                "/Textures", "/textures"))
                self.assertEqual(result.stderr.decode(), f'varnel: material "{name}": texture '
                                 f'"..\\..\\outside.png": not found (looked in {looked})\n')

    def test_a_dds_texture_shows_as_the_same_picture_in_png_does(self):
        # Magenta at the left, cyan at the right, the top right quarter cut
        # out to transparent black: one DXT1 block of cyan and magenta, and a
        # PNG of the same pixels.
        block = dxt1((0x07FF, 0xF81F), [1, 1, 3, 3] * 2 + [1, 1, 0, 0] * 2)
        picture = png([[(255, 0, 255, 255)] * 2 + [(0, 255, 255, 255) if y > 1 else (0, 0, 0, 0)] * 2
                       for y in range(4)])
        square = [(-20, 0, -1), (20, 0, -1), (20, 40, -1), (-20, 40, -1)]
        card = ("card", square, [((3, 2, 1, 0), 0, [(0, 0), (1, 0), (1, 1), (0, 1)])], [])
        shots = []
        for name, content in (("skin.dds", block), ("skin.png", picture)):
            self.write(f"Texture/{name}", content)
            model = mqo([card], [material("card", (1, 1, 1), emi=1, extra=f'tex("{name}")')])
            shot, result = self.photograph(self.write("card.mqo", model))
            self.assertEqual(result.stderr, b"")
            shots.append(shot)
        self.assertGreater(shots[0].count("magenta"), 500)
        self.assertGreater(shots[0].count("cyan"), 200)
        self.assertEqual(sum(a != b for a, b in zip(shots[0].pixels, shots[1].pixels)), 0)

    def test_archives_are_read_by_their_contents_with_textures_inside_or_beside_them(self):
        # A Ver 1.2 card as the modeller writes it, with keys the viewer
        # passes over; its texture is magenta and cyan on disk, red and blue
        # in the archive.
        square = [(-20, 0, -1), (20, 0, -1), (20, 40, -1), (-20, 40, -1)]
        keys = ["uid 3", "vertexattr {\r\n\t\tuid {\r\n\t\t\t0 1\r\n\t\t\t1 2\r\n\t\t}\r\n\t}"]
        card = ("看板", square, [((3, 2, 1, 0), 0, [(0, 0), (1, 0), (1, 1), (0, 1)])], keys)
        model = mqo([card], [material("木", (1, 1, 1), emi=1, extra='shader(3) tex("Texture\\face.png")'),
                             material("無", (1, 1, 1), extra='tex("none.png")')],
                    header="Format Text Ver 1.2", extra='CodePage utf8\r\nIncludeXml "card.mqx"')
        beside = png([[(255, 0, 255, 255)] * 2 + [(0, 255, 255, 255)] * 2 for _ in range(4)])
        inside = png([[(255, 0, 0, 255)] * 2 + [(0, 0, 255, 255)] * 2 for _ in range(4)])
        extras = {"card.mqx": b"<MetasequoiaDocument/>", "thumbnail.jpg": b"\xff\xd8\xff"}
        self.write("Texture/face.png", beside)
        cases = [
            ("beside.mqoz", mqoz({"Inner Name.mqo": model, **extras}), ("magenta", "cyan")),
            ("inside.mqoz", mqoz({"card.mqo": model, "texture/FACE.PNG": inside, **extras}), ("red", "blue")),
            ("archive named.mqo", mqoz({"card.mqo": model, "Texture/face.png": inside}), ("red", "blue")),
            ("plain named.mqoz", model, ("magenta", "cyan")),
        ]
        for name, content, colours in cases:
            with self.subTest(name=name):
                path = self.write(name, content)
                shot, result = self.photograph(path, seconds="3")
                self.assertGreater(shot.count(colours[0]), 500)
                self.assertGreater(shot.count(colours[1]), 500)
                archive = [str(path)] if content != model else []
                looked = ", ".join(archive + [f"{self.folder}{sub}" for sub in ("", "/Texture", "/texture",
                                                                               "/Textures", "/textures")])
                self.assertEqual(result.stderr.decode(), f'varnel: material "無": texture "none.png": not found '
                                 f'(looked in {looked})\n')
        # The window is named after the file the user gave.
        with Viewer({}, arguments=[str(self.folder / "inside.mqoz")], title="Varnel - inside.mqoz") as viewer:
            viewer.picture_showing("red", 500)
            viewer.quit()

    def test_shading_follows_each_objects_keys_on_faces_without_material_lit_grey(self):
        # Flat faces meet in steps of light; smooth ones blend across, by
        # less than 5 a channel from one pixel to the next.
        steps = {}
        for keys in (["shading 0"], ["shading 1", "facet 59.5"]):
            ball = mqo([sphere("ball", 10, 10, 20, material=None, keys=keys)])
            picture, result = self.photograph(self.write("ball.mqo", ball))
            pairs = zip(picture.pixels, picture.pixels[1:])
            steps[keys[0]] = sum(1 for a, b in pairs if KINDS["lit"](*a) and KINDS["lit"](*b) and
                                 abs(sum(a) - sum(b)) > 15)
        self.assertGreater(steps["shading 0"], 2 * steps["shading 1"])
        greys = [p for p in picture.pixels if KINDS["lit"](*p)]
        self.assertGreater(len(greys), 5000)
        self.assertTrue(all(max(p) - min(p) < 8 for p in greys))
        self.assertLess(max(max(p) for p in greys), 250)
        self.assertGreater(len({p[0] // 16 for p in greys}), 4)
        # The help text is in the encoding of the locale.
        self.assertIn("ESC:終了\n", result.stdout.decode("utf-8"))

    def test_mirrors_hidden_objects_and_whole_faces(self):
        def silhouette(keys, centre=(10, 5, 0)):
            """Width over height of the red box on the screen, from the front."""
            model = mqo([box("half", (20, 10, 20), centre, keys=keys)], [material("red", (1, 0, 0), emi=0.5)],
                        extra=FRONT_VIEW)
            xs, ys = zip(*self.photograph(self.write("half.mqo", model))[0].where("red"))
            return (max(xs) - min(xs)) / (max(ys) - min(ys))
        # The box's copy across its frame's plane x = 0 (or x = 30 when the
        # frame stands there) makes it twice as wide; across y = 0, twice as tall.
        alone = silhouette(["mirror 0"])
        self.assertGreater(silhouette(["mirror 1", "mirror_axis 1"]), 1.5 * alone)
        self.assertGreater(silhouette(["mirror 2", "translation 30 0 0"], (40, 5, 0)), 1.5 * alone)
        self.assertLess(silhouette(["mirror 1", "mirror_axis 2"]), 0.9 * alone)

        shy = [box("seen", (10, 10, 10), material=0), box("shy", (4, 4, 4), (20, 0, 0), 1, ["visible 0"])]
        colours = [material("red", (1, 0, 0), emi=0.5), material("blue", (0, 0, 1), emi=0.5)]
        picture, _ = self.photograph(self.write("shy.mqo", mqo(shy, colours)))
        self.assertGreater(picture.count("red"), 1000)
        self.assertEqual(picture.count("blue"), 0)

        # An L-shaped face of six corners covers what its two quads cover.
        corners = [(0, 0, 0), (30, 0, 0), (30, 10, 0), (10, 10, 0), (10, 30, 0), (0, 30, 0)]
        whole = ("L", corners, [((5, 4, 3, 2, 1, 0), 0)], [])
        halves = ("L", corners, [((3, 2, 1, 0), 0), ((5, 4, 3, 0), 0)], [])
        reds = [self.photograph(self.write("l.mqo", mqo([shape], [material("red", (1, 0, 0), emi=1)])))[0]
                .where("red") for shape in (whole, halves)]
        self.assertGreater(len(reds[0]), 1000)
        self.assertLess(len(set(reds[0]) ^ set(reds[1])), 0.02 * len(reds[0]))

    def test_curved_surfaces_and_lathes_show_round_and_the_limit_is_told(self):
        def roundness(picture):
            """The nearest over the farthest reach of the red shape from its
            centre, over 32 directions: 1 for a disc."""
            points = picture.where("red")
            cx, cy = (sum(c) / len(points) for c in zip(*points))
            reach = [0.0] * 32
            for x, y in points:
                slot = int((math.atan2(y - cy, x - cx) + math.pi) / (2 * math.pi) * 32) % 32
                reach[slot] = max(reach[slot], math.hypot(x - cx, y - cy))
            return min(reach) / max(reach)
        red = [material("red", (1, 0, 0), emi=0.5)]
        cube, _ = self.photograph(self.write("cube.mqo", mqo([box("cube", (20, 20, 20))], red)))
        ball, result = self.photograph(self.write("ball.mqo", mqo([box("ball", (20, 20, 20),
                                                                       keys=["patch 3", "segment 2"])], red)))
        self.assertEqual(result.stderr, b"")
        self.assertLess(roundness(cube), 0.8)
        self.assertGreater(roundness(ball), 0.9)

        # A half circle of profile lines turned about y is a ball; left as
        # lines it draws nothing.
        arc = [(10 * math.sin(math.pi * k / 8), 10 * math.cos(math.pi * k / 8), 0) for k in range(9)]
        for keys in (["lathe 1", "lathe_axis 1", "lathe_seg 24"], ["lathe 0"]):
            profile = ("vase", arc, [((k, k + 1), 0) for k in range(8)], keys)
            shot, result = self.photograph(self.write("vase.mqo", mqo([profile], red)))
            self.assertEqual(result.stderr, b"")
            if keys == ["lathe 0"]:
                self.assertEqual(shot.count("red"), 0)
            else:
                self.assertGreater(shot.count("red"), 5000)
                self.assertGreater(roundness(shot), 0.9)

        # Refined 16 times, eight mirrored copies of a cube would pass the
        # limit many times over: they are refined as often as fits.
        model = self.write("many.mqo", mqo([box("ball", (20, 20, 20), keys=[
            "patch 3", "segment 99", "mirror 1", "mirror_axis 7", "translation 30 30 30"])], red))
        shot, result = self.photograph(model, seconds="1")
        self.assertEqual(result.stderr.decode(), f"varnel: {model}: curved surfaces refined 7 times instead of 16, "
                                                 "to stay under 4000000 triangles\n")
        self.assertGreater(shot.count("red"), 5000)

    def test_a_planar_projection_puts_the_texture_where_its_frame_lies(self):
        # Magenta on the left half, cyan on the right.
        self.write("halves.png", png([[(255, 0, 255, 255)] * 4 + [(0, 255, 255, 255)] * 4 for _ in range(4)]))
        square = [(-20, 0, -1), (20, 0, -1), (20, 40, -1), (-20, 40, -1)]
        # The face's own coordinates would show the texture's corner alone.
        card = ("card", square, [((3, 2, 1, 0), 0, [(0, 0)] * 4)], [])
        shares = {}
        for origin in (0, 10, None):
            extra = 'tex("halves.png")' + ("" if origin is None else
                                           f" proj_type(1) proj_pos({origin} 20 0) proj_scale(80 80 80)")
            model = mqo([card], [material("card", (1, 1, 1), emi=1, extra=extra)])
            shot, result = self.photograph(self.write(f"card{origin}.mqo", model))
            self.assertEqual(result.stderr, b"")
            shares[origin] = (shot.count("magenta"), shot.count("cyan"))
        # The texture's middle lies over the frame's origin: in the card's
        # middle, then a quarter of the card to the right, where magenta
        # covers three quarters of it.
        magenta, cyan = shares[0]
        self.assertGreater(cyan, 1000)
        self.assertLess(abs(magenta - cyan), 0.2 * cyan)
        magenta, cyan = shares[10]
        self.assertGreater(magenta, 2.4 * cyan)
        self.assertLess(magenta, 3.6 * cyan)
        self.assertEqual(shares[None][1], 0)

    def test_a_flat_underside_of_many_corners_settles_and_the_world_stays_quiet(self):
        # A plate whose underside is a grid of 121 corners, all on the ground.
        grid = [(x * 10 - 50, 0, z * 10 - 50) for x in range(11) for z in range(11)]
        top = [(x, 10, z) for x in (-50, 50) for z in (-50, 50)]
        under = [((11 * x + z, 11 * x + z + 1, 11 * x + z + 12, 11 * x + z + 11), 0)
                 for x in range(10) for z in range(10)]
        plate = ("plate", grid + top, under + [((121, 123, 124, 122), 0)], [])
        # Seen from above, nearly as the classic camera looks.
        above = "Scene {\r\n\thead -0.165\r\n\tpich 0.925\r\n}"
        model = self.write("plate.mqo", mqo([plate], [material("slate", (0.3, 0.5, 0.9), emi=0.5)], extra=above))
        shapes = []
        for seconds in ("10", "14"):
            picture, result = self.photograph(model, seconds=seconds)
            self.assertEqual(result.stderr, b"")
            shapes.append({i for i, p in enumerate(picture.pixels) if KINDS["lit"](*p)})
        self.assertGreater(len(shapes[0]), 5000)
        self.assertLess(len(shapes[0] ^ shapes[1]), 10)
        assets = Path(os.environ["VARNEL_ASSETS"])
        self.assertEqual(self.photograph(assets / "qemi_one.mqo")[1].stderr, b"")

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

    def test_stacked_parts_fall_and_stay_stacked(self):
        # A small blue box modelled a unit above a wide red one: had it
        # passed through the red box, it would lie hidden inside it.
        model = self.write("stack.mqo", mqo([box("base", (40, 10, 40), (0, 5, 0), 0),
                                             box("top", (20, 10, 20), (3, 16, -2), 1)],
                                            [material("red", (1, 0, 0), emi=0.5),
                                             material("blue", (0, 0, 1), emi=0.5)]))
        picture, result = self.photograph(model, "--parts")
        self.assertEqual(result.stderr, b"")
        self.assertGreater(picture.count("blue"), 2000)
        blues, reds = picture.where("blue"), picture.where("red")
        self.assertLess(max(y for _, y in blues), max(y for _, y in reds) - 50)
        self.assertLess(abs(picture.centroid("blue")[0] - picture.centroid("red")[0]), 40)

    def test_ctrl_drag_carries_a_body_and_letting_go_throws_it(self):
        # A green crate and a red one side by side, lit by their emission
        # alone so that only their places change their pictures.
        model = self.write("crates.mqo", mqo([box("green", (20, 20, 20), (-25, 10, 0), 0),
                                              box("red", (20, 20, 20), (25, 10, 0), 1)],
                                             [material("green", (0, 1, 0), 0, 0, 1),
                                              material("red", (1, 0, 0), 0, 0, 1)]))
        with Viewer({}, arguments=["--parts", str(model)], title=f"Varnel - {model.name}") as viewer:
            rest = self.at_rest(viewer)
            # Ctrl and the left button on empty space move nothing, while
            # the left button alone turns the view.
            for modifier in (["ctrl"], []):
                viewer.pointer(400, 80, *(["keydown"] + modifier if modifier else []), "mousedown", 1)
                for step in range(1, 6):
                    viewer.pointer(400 - 20 * step, 80 + 20 * step)
                viewer.pointer(300, 180, "mouseup", 1, *(["keyup"] + modifier if modifier else []))
                if modifier:
                    self.assertLess(len(set(self.at_rest(viewer).where("red")) ^ set(rest.where("red"))), SHAKE_PIXELS)
            viewer.picture_where(lambda p: len(set(p.where("red")) ^ set(rest.where("red"))) > 500, "the view to turn")
            viewer.key("r")
            viewer.picture_where(lambda p: len(set(p.where("red")) ^ set(rest.where("red"))) < SHAKE_PIXELS,
                                 "'r' to frame it again")
            gx, gy = map(round, rest.centroid("green"))
            red = rest.centroid("red")
            viewer.pointer(gx, gy, "keydown", "ctrl", "mousedown", 1)
            # Lifted by the point under the pointer, the green crate hangs
            # from it up and to the left; the red one and the camera stay put.
            for step in range(1, 11):
                viewer.pointer(gx - 8 * step, gy - 12 * step)
            held = viewer.picture_where(lambda p: p.centroid("green")[1] < gy - 40 and green_at(p, gx - 80, gy - 120),
                                        "the green crate to follow the pointer")
            self.assertTrue(near(held.centroid("red"), red, 2))
            # Swept up and to the right and let go on the way, it flies on.
            # One xdotool run keeps the sweep's pace whatever the load.
            sweep = []
            for step in range(1, 7):
                sweep += ["sleep", 0.03, "mousemove", "--window", viewer.window,
                          gx - 80 + 30 * step, gy - 120 - 10 * step]
            xdotool(*sweep, "mouseup", 1, "keyup", "ctrl")
            viewer.picture_where(lambda p: p.centroid("green")[0] > gx + 100 + 60 or p.count("green") < 50,
                                 "the green crate to fly on to the right")

            viewer.quit()

    @staticmethod
    def at_rest(viewer):
        """The picture that ends the first run of STILL_PICTURES, half a
        second apart or more, in which the crates stand where they stood in
        the run's first: two alone may catch a crate at the same height on
        either side of a bounce."""
        run = []

        def resting():
            picture = viewer.picture()
            if run and not all(near(picture.centroid(kind), run[0].centroid(kind), 0.5) for kind in ("green", "red")):
                run.clear()
            run.append(picture)
            if len(run) >= STILL_PICTURES and picture.count("red") > 500:
                return picture
            time.sleep(0.5)
            return None
        return poll(resting, "the crates to come to rest")

    def test_screenshot_shows_what_the_window_shows_and_r_frames_it_again(self):
        # Emission alone lights this box, so the orbiting lights don't change
        # it: only their white markers move.
        model = self.write("glow.mqo", mqo([box("glow", (30, 10, 20))], [material("glow", (0, 1, 0), 0, 0, 1)]))
        photographed, _ = self.photograph(model)
        with Viewer({}, arguments=[str(model)], title=f"Varnel - {model.name}") as viewer:
            framed = lambda p: p.where("green") == photographed.where("green")
            shown = viewer.picture_where(framed, "the window to show the screenshot's picture")
            # Moved and scaled away, "r" brings back the framed view.
            viewer.key("f", 20)
            viewer.key("z", 30)
            viewer.picture_where(lambda p: not framed(p), "the keys to move the view")
            viewer.key("r")
            viewer.picture_where(framed, "'r' to bring back the framed view")
            viewer.quit()
        self.assertGreater(shown.count("green"), 1000)


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
