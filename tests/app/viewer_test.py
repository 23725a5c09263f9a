"""The built viewer end to end: its console text, its window, what the window
shows, and what the mouse and keys do to it. Each case starts as few viewers
as it can, since every start costs seconds under a software renderer."""

import os
import sys
import unittest
from pathlib import Path

from model_files import box, material, mqo
from viewer_session import Viewer, poll, xdotool

HELP_TEXT = """\
MQOファイルを選択してください。
テクスチャ画像はMQOファイルのあるフォルダのTextureフォルダに入れてください。
ミラーリング等いろいろ実装していません。
------------キーボード操作------------------
a: 拡大
z: 縮小
s, ←: 左移動
f, →: 右移動
e, ↑: 上移動
d, ↓: 下移動
x: 奥移動
c: 手前移動
u: 上方向に力を加える
左クリック: X軸周りの回転
中クリック: Y軸周りの回転
右クリック: Z軸周りの回転
ESC:終了
"""

# The console receives code page 932 bytes, not the UTF-8 kept here.
HELP_BYTES = HELP_TEXT.encode("cp932")

MODEL = "qemi_one.mqo"
HEADER = b"Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n"
# Emission alone gives these their colour whatever the lights do: the display
# lists send no normals for the lights to work on reliably.
GREEN = material("green", (0, 1, 0), emi=0.8)
YELLOW = material("yellow", (1, 1, 0), emi=0.8)
HALF_GREEN = material("glass", (0, 1, 0, 0.5), dif=1, emi=0.8)
# Where the gizmo's centre, the drawing's origin, lands in the 800 by 600 frame.
ORIGIN_X = 400


def boxes(materials, *objects):
    """One cube object for each (half side, material, x offset); the offset
    draws the cube that far beside its body, which starts where all do."""
    return mqo([box(f"box{number}", (2 * half,) * 3, (offset, 0, 0), material)
                for number, (half, material, offset) in enumerate(objects)], materials)


def mean_green(picture):
    greens = [g for r, g, b in picture.pixels if g > 30 and g > r + 20 and g > b + 20]
    return sum(greens) / len(greens)


def clusters(points, gap=10):
    """Groups of points, each within `gap` of another point of its group."""
    groups = []
    for point in points:
        near = [g for g in groups if any(abs(point[0] - x) <= gap and abs(point[1] - y) <= gap for x, y in g)]
        groups = [g for g in groups if g not in near] + [sum(near, [point])]
    return groups


class EndToEnd(unittest.TestCase):
    def test_unusable_model_is_reported_the_window_still_opens_and_each_quit_key_ends_it(self):
        cases = [
            (b"Metasequoia\r\nFormat Text Ver 1.0\r\n", b"Header Error\n", "q"),
            (HEADER.replace(b"Ver 1.0", b"Ver 1.1"), b"Format Error\n", "Q"),
            (boxes([GREEN], (20, 0, 0)).split(b"\t}\r\n}")[0], b"EOF\n", "Escape"),
            (HEADER + b"Object \"open\"\r\n}\r\n", b"Error\n", "q"),
        ]
        for content, message, key in cases:
            with self.subTest(message=message), Viewer({MODEL: content}) as viewer:
                viewer.picture_showing("blue")
                viewer.quit(key)
                self.assertEqual(viewer.stdout(), HELP_BYTES + message)

    def test_missing_model_waits_for_a_line_then_shows_the_lights_gizmo_and_arrows(self):
        with Viewer({}) as viewer:
            prompt = HELP_BYTES + b"Can't open mqo file. [enter]\n"
            poll(lambda: viewer.stdout() == prompt, "the prompt")
            self.assertEqual(viewer.windows(), [])
            viewer.process.stdin.write(b"\n")
            picture = viewer.picture_showing("blue", 500)
            geometry = xdotool("getwindowgeometry", "--shell", viewer.window).split()[1:5]
            self.assertEqual(geometry, ["X=100", "Y=100", "WIDTH=800", "HEIGHT=600"])
            self.assertGreater(picture.count("black"), 0.95 * len(picture.pixels))
            self.assertEqual(len(clusters(picture.where("white"))), 2)
            self.assertEqual(picture.count("red") + picture.count("green"), 0)

            # Left turns about x (across the screen), right about y (straight
            # up), middle about z (the slanted arrow towards the viewer).
            for button, wide, tall in ((1, True, False), (3, False, True), (2, True, True)):
                viewer.pointer(790, 590, "mousedown", button)
                red = viewer.picture_showing("red", 200).where("red")
                viewer.pointer(790, 590, "mouseup", button)
                xs, ys = zip(*red)
                self.assertEqual((max(xs) - min(xs) > 40, max(ys) - min(ys) > 150), (wide, tall),
                                 f"the arrow of button {button}")
                poll(lambda: viewer.picture().count("red") == 0, "the arrow back to blue")

            # The offset keys move the whole view, as the help text says.
            (x, y), size = viewer.picture().centroid("blue"), viewer.picture().count("blue")
            viewer.key("f", repeat=40)
            viewer.key("e", repeat=40)

            def moved():
                now = viewer.picture().centroid("blue")
                return now[0] > x + 50 and now[1] < y - 50
            poll(moved, "the gizmo to move right and up")
            viewer.key("x", repeat=200)
            poll(lambda: viewer.picture().count("blue") < 0.8 * size, "the view to recede")
            viewer.key("u")  # with no object to push, it only redraws
            viewer.quit()
            self.assertEqual(viewer.stdout(), prompt)

    def test_objects_fall_at_their_own_bodies_a_enlarges_them_and_u_pushes_the_first(self):
        # Two bodies start at the same place and fall and bounce alike.
        with Viewer({MODEL: boxes([GREEN, YELLOW], (10, 0, -40), (10, 1, 40))}) as viewer:
            picture = viewer.picture_showing("green", 500)
            first_size = picture.count("yellow")
            self.assertGreater(first_size, 500)
            left, right = picture.centroid("green"), picture.centroid("yellow")
            self.assertLess(left[0], ORIGIN_X)
            self.assertGreater(right[0], ORIGIN_X)
            self.assertLess(abs(left[1] - right[1]), 30)
            self.assertLess(left[1], 150)
            poll(lambda: viewer.picture().centroid("green")[1] > left[1] + 120, "the boxes to land")

            # Nearing or leaving the camera changes a box's area by less than
            # a factor of three; 200 presses of "a" triple its size.
            viewer.key("a", repeat=200)
            poll(lambda: viewer.picture().count("yellow") > 3 * first_size, "the boxes to grow")

            # Thirty pushes of "u" send the first box far above the window. Left
            # alone, it is never out of sight while the second, a little lower
            # in the window, is well inside it.
            def only_second_in_sight():
                picture = viewer.picture()
                return (picture.count("green") == 0 and picture.count("yellow") > 2000
                        and picture.centroid("yellow")[1] > 150)

            viewer.key("u", repeat=30)
            poll(only_second_in_sight, "the first box pushed out of sight")
            viewer.quit()
            self.assertEqual(viewer.stdout(), HELP_BYTES)

    def test_held_button_blends_objects_and_a_right_drag_of_half_a_turn_brings_one_across(self):
        # A see-through box drawn 60 units right of its body: a half turn about
        # the vertical axis puts it on the left, where falling never takes it.
        with Viewer({MODEL: boxes([HALF_GREEN], (20, 0, 60))}) as viewer:
            picture = viewer.picture_showing("green", 2000)
            opaque = mean_green(picture)
            self.assertGreater(picture.centroid("green")[0], ORIGIN_X + 80)
            # The box bounces and may be out of sight for a moment: each
            # reading waits for a picture that shows it.
            viewer.pointer(200, 300, "mousedown", 3)
            blended = mean_green(viewer.picture_where(
                lambda picture: picture.count("red") and picture.count("green") > 200, "the box, button held"))
            # 251 pixels of an 800 pixel width turn the scene by 3.14 radians.
            viewer.pointer(451, 300, "mouseup", 3)
            poll(lambda: viewer.picture().count("red") == 0, "the button released")
            self.assertLess(blended, 0.7 * opaque)
            self.assertGreater(mean_green(viewer.picture_showing("green", 200)), 0.9 * opaque)
            poll(lambda: viewer.picture().centroid("green")[0] < ORIGIN_X - 80, "the box on the left")
            viewer.quit()

    def test_bundled_model_shows_its_textures(self):
        # The sign's picture has green hills; no plain material is green.
        assets = Path(os.environ["VARNEL_ASSETS"])
        files = {MODEL: (assets / MODEL).read_bytes()}
        with Viewer(files) as viewer:
            viewer.picture_showing("blue")
            self.assertEqual(viewer.picture().count("hill green"), 0)
            viewer.quit()

        for texture in (assets / "Texture").iterdir():
            files["Texture/" + texture.name] = texture.read_bytes()
        with Viewer(files) as viewer:
            viewer.picture_showing("hill green", 200)
            viewer.quit()
            self.assertEqual(viewer.stdout(), HELP_BYTES)


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
