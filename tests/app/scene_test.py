"""What the window shows: the lights and gizmo, a model that falls, and what
the mouse and keys do to the picture."""

import os
import sys
import unittest

import models
from viewer_session import (Viewer, centroid, is_black, is_blue, is_green, is_red, is_white,
                            poll)

# Where the gizmo's centre, the drawing's origin, lands in the 800 by 600 frame.
ORIGIN_X = 400


def clusters(points, gap=10):
    """Groups of points, each within `gap` of another point of its group."""
    groups = []
    for point in points:
        near = [g for g in groups
                if any(abs(point[0] - x) <= gap and abs(point[1] - y) <= gap for x, y in g)]
        merged = [point]
        for group in near:
            merged += group
            groups.remove(group)
        groups.append(merged)
    return groups


def extent(points):
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    return max(xs) - min(xs), max(ys) - min(ys)


def mean_green(picture):
    greens = [g for r, g, b in zip(picture.red, picture.green, picture.blue)
              if g > 30 and g > r + 20 and g > b + 20]
    return sum(greens) / len(greens)


class Scene(unittest.TestCase):
    def test_empty_model_shows_black_background_two_lights_and_blue_gizmo(self):
        with Viewer({"qemi_one.mqo": models.empty_model()}) as viewer:
            viewer.find_window()
            picture = viewer.picture_showing(is_blue, "the gizmo", minimum=500)
            self.assertGreater(picture.count(is_black), 0.95 * picture.width * picture.height)
            self.assertEqual(len(clusters(picture.where(is_white))), 2)
            self.assertEqual(picture.count(is_red), 0)
            self.assertEqual(picture.count(is_green), 0)
            viewer.quit()

    def test_offset_keys_move_the_whole_view_as_the_help_says(self):
        with Viewer({"qemi_one.mqo": models.empty_model()}) as viewer:
            viewer.find_window()
            start = centroid(viewer.picture_showing(is_blue, "the gizmo").where(is_blue))
            viewer.key("f", repeat=40)
            viewer.key("e", repeat=40)
            moved = poll(lambda: centroid(viewer.picture().where(is_blue)), "the gizmo")
            self.assertGreater(moved[0], start[0] + 50)
            self.assertLess(moved[1], start[1] - 50)
            blue_before = viewer.picture().count(is_blue)
            viewer.key("x", repeat=200)
            self.assertLess(viewer.picture().count(is_blue), 0.8 * blue_before)
            # "u" with no object to push only redraws.
            viewer.key("u")
            viewer.quit()

    def test_each_held_button_turns_its_own_arrow_red(self):
        # Left turns about x (across the screen), right about y (straight
        # up), middle about z (the slanted arrow towards the viewer).
        with Viewer({"qemi_one.mqo": models.empty_model()}) as viewer:
            viewer.find_window()
            viewer.picture_showing(is_blue, "the gizmo", minimum=500)
            for button, wide, tall in ((1, True, False), (3, False, True), (2, True, True)):
                viewer.press(button, 790, 590)
                picture = viewer.picture_showing(is_red, "a red arrow", minimum=200)
                viewer.release(button)
                with self.subTest(button=button):
                    width, height = extent(picture.where(is_red))
                    self.assertEqual(width > 40, wide)
                    self.assertEqual(height > 150, tall)
                poll(lambda: viewer.picture().count(is_red) == 0, "the arrow back to blue")
            viewer.quit()

    def test_object_is_blended_only_while_a_button_is_held(self):
        with Viewer({"qemi_one.mqo": models.see_through_box()}) as viewer:
            viewer.find_window()
            opaque = mean_green(viewer.picture_showing(is_green, "the box", minimum=2000))
            viewer.press(1, 790, 590)
            viewer.picture_showing(is_red, "the held button's arrow")
            blended = mean_green(viewer.picture())
            viewer.release(1)
            poll(lambda: viewer.picture().count(is_red) == 0, "the button released")
            again = mean_green(viewer.picture())
            self.assertLess(blended, 0.7 * opaque)
            self.assertGreater(again, 0.9 * opaque)
            viewer.quit()

    def test_object_falls_from_above_the_gizmo(self):
        with Viewer({"qemi_one.mqo": models.green_box()}) as viewer:
            viewer.find_window()
            first = centroid(viewer.picture_showing(is_green, "the box").where(is_green))
            self.assertLess(first[1], 150)
            poll(lambda: centroid(viewer.picture().where(is_green))[1] > first[1] + 120,
                 "the box to fall")
            viewer.quit()

    def test_second_object_is_drawn_at_its_own_body_not_the_sum_of_both(self):
        # Both bodies start at the same place and fall alike until they land.
        with Viewer({"qemi_one.mqo": models.green_and_yellow_boxes()}) as viewer:
            viewer.find_window()
            picture = viewer.picture_showing(is_green, "the first box", minimum=500)
            self.assertGreater(picture.count(is_yellow), 500)
            left = centroid(picture.where(is_green))
            right = centroid(picture.where(is_yellow))
            self.assertLess(left[0], ORIGIN_X)
            self.assertGreater(right[0], ORIGIN_X)
            self.assertLess(abs(left[1] - right[1]), 30)
            viewer.quit()

    def test_u_pushes_the_landed_object_out_of_sight_upwards(self):
        # Bouncing never lifts it back to where it was first seen; thirty
        # pushes send it off the top of the window.
        with Viewer({"qemi_one.mqo": models.green_box()}) as viewer:
            viewer.find_window()
            first = centroid(viewer.picture_showing(is_green, "the box").where(is_green))
            poll(lambda: centroid(viewer.picture().where(is_green))[1] > first[1] + 120,
                 "the box to land")
            viewer.key("u", repeat=30)
            poll(lambda: viewer.picture().count(is_green) == 0, "the box out of sight")
            viewer.quit()

    def test_a_makes_the_object_larger(self):
        # Nearing or leaving the camera while it falls changes the box's area
        # by less than a factor of two; 200 presses of "a" triple its size.
        with Viewer({"qemi_one.mqo": models.green_box(half=10)}) as viewer:
            viewer.find_window()
            before = viewer.picture_showing(is_green, "the box").count(is_green)
            viewer.key("a", repeat=200)
            after = viewer.picture().count(is_green)
            self.assertGreater(after, 3 * before)
            viewer.quit()

    def test_right_drag_of_half_a_turn_brings_the_object_across(self):
        # A box drawn 60 units to the right of its body: a half turn about
        # the vertical axis puts it on the left, where falling never takes it.
        with Viewer({"qemi_one.mqo": models.green_box(offset_x=60)}) as viewer:
            viewer.find_window()
            before = centroid(viewer.picture_showing(is_green, "the box").where(is_green))
            self.assertGreater(before[0], ORIGIN_X + 80)
            # 251 pixels of an 800 pixel width turn the scene by 3.14 radians.
            viewer.press(3, 200, 300)
            viewer.move(451, 300)
            viewer.release(3)
            poll(lambda: centroid(viewer.picture().where(is_green))[0] < ORIGIN_X - 80,
                 "the box on the left")
            viewer.quit()

    def test_bundled_model_shows_its_textures(self):
        # The sign's picture has green hills; no plain material is green.
        assets = os.environ["VARNEL_ASSETS"]
        files = {"qemi_one.mqo": read(os.path.join(assets, "qemi_one.mqo"))}
        with Viewer(files) as viewer:
            viewer.find_window()
            viewer.picture_showing(is_blue, "the first frame")
            self.assertEqual(viewer.picture().count(is_hill_green), 0)
            viewer.quit()

        textures = os.path.join(assets, "Texture")
        for name in os.listdir(textures):
            files["Texture/" + name] = read(os.path.join(textures, name))
        with Viewer(files) as viewer:
            viewer.find_window()
            viewer.picture_showing(is_hill_green, "the sign's picture", minimum=200)
            viewer.quit()


def is_yellow(r, g, b):
    return r > 120 and g > 120 and b < 60 and abs(r - g) < 40


def is_hill_green(r, g, b):
    return g > 60 and g > r + 25 and g > b + 25


def read(path):
    with open(path, "rb") as file:
        return file.read()


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
