"""Model mode kept open while modelling, as a user drives it: the model and
its texture saved again while the viewer shows them, a save that breaks,
and the keys of the window's help, information, wireframe, textures and
screenshots."""

import os
import subprocess
import time
import unittest
from pathlib import Path

from model_case import FRONT_VIEW, KINDS
from model_files import box, material, mqo, png
from viewer_session import Picture, Viewer

MAGENTA, CYAN = (255, 0, 255, 255), (0, 255, 255, 255)
# A card facing the camera, textured whole with one picture.
CARD = ("card", [(-20, 0, 0), (20, 0, 0), (20, 40, 0), (-20, 40, 0)],
        [((3, 2, 1, 0), 0, [(0, 0), (1, 0), (1, 1), (0, 1)])], [])
# The window's texts: notices, failures, and the wireframe's two colours.
KINDS["notice"] = lambda r, g, b: abs(r - 235) <= 4 and abs(g - 240) <= 4 and b >= 250
KINDS["failure"] = lambda r, g, b: r >= 250 and abs(g - 158) <= 4 and abs(b - 140) <= 4
KINDS["dark line"] = lambda r, g, b: abs(r - 20) <= 4 and abs(g - 30) <= 4 and abs(b - 60) <= 4
KINDS["light line"] = lambda r, g, b: abs(r - 205) <= 4 and abs(g - 222) <= 4 and b >= 250
# Fewer pixels than this differ between two pictures of the same shape.
SAME_SHAPE = 60


def card(material):
    return mqo([CARD], [material], extra=FRONT_VIEW)


def painted(picture_name, colour="1 1 0"):
    """The card's material, unlit: its texture's colours, or `colour`."""
    texture = f'tex("{picture_name}")' if picture_name else ""
    return f'"paint" shader(1) col({colour} 1) {texture}'


def region(picture, kind, top=0, bottom=None):
    """The pixels of `kind` between rows `top` and `bottom`."""
    return {(x, y) for x, y in picture.where(kind) if top <= y < (bottom or 10**6)}


def settled(viewer, kind, condition, what):
    """The pixels of `kind` once a picture for which `condition` holds shows
    them as the one before it did: the drag that turned the view is over."""
    last = set()

    def steady(picture):
        nonlocal last
        now, last = last, region(picture, kind)
        return condition(picture) and now == last
    return region(viewer.picture_where(steady, what), kind)


class LiveViewer(unittest.TestCase):
    def open(self, files):
        """The viewer on card.mqo, standing still, among `files`."""
        viewer = Viewer(files, arguments=["--still", "card.mqo"], title="Varnel - card.mqo")
        self.addCleanup(viewer.__exit__)
        return viewer, Path(viewer.folder.name)

    def test_saves_of_the_model_and_its_texture_show_with_the_camera_kept(self):
        viewer, folder = self.open({"card.mqo": card(painted("skin.png")), "skin.png": png([[MAGENTA] * 2] * 2)})
        first = region(viewer.picture_showing("magenta", 1000), "magenta")
        # The user turns the view away from the saved one.
        viewer.pointer(400, 300, "mousedown", 1)
        for step in range(1, 6):
            viewer.pointer(400, 300 + 12 * step)
        viewer.pointer(400, 360, "mouseup", 1)
        turned = settled(viewer, "magenta", lambda p: len(region(p, "magenta") ^ first) > 500, "the view to turn")

        # A texture saved as a new file renamed over the old.
        (folder / "skin.new").write_bytes(png([[CYAN] * 2] * 2))
        os.replace(folder / "skin.new", folder / "skin.png")
        viewer.picture_where(lambda p: len(region(p, "cyan") ^ turned) < SAME_SHAPE and p.count("magenta") == 0,
                             "the new texture on the card, seen as it was")
        # The model saved in place, in another colour.
        (folder / "card.mqo").write_bytes(card(painted(None)))
        viewer.picture_where(lambda p: len(region(p, "yellow") ^ turned) < SAME_SHAPE, "the card saved yellow")

        # A save cut short leaves the last good card, and says why in the
        # window until the next good save.
        (folder / "card.mqo").write_bytes(card(painted(None))[:200])
        viewer.picture_where(lambda p: len(region(p, "failure", bottom=60)) > 30 and
                             len(region(p, "yellow") ^ turned) < SAME_SHAPE, "the failure over the last good card")
        self.assertEqual(viewer.stderr().count("varnel: card.mqo:"), 1, viewer.stderr())

        # A save in two writes is read once it is whole.
        whole = card(painted(None, "1 0 0"))
        with open(folder / "card.mqo", "wb") as save:
            save.write(whole[:len(whole) // 2])
            save.flush()
            time.sleep(0.05)
            save.write(whole[len(whole) // 2:])
        viewer.picture_where(lambda p: len(region(p, "red") ^ turned) < SAME_SHAPE and p.count("failure") == 0,
                             "the card saved red and the failure gone")
        self.assertEqual(viewer.stderr().count("varnel: card.mqo:"), 1, viewer.stderr())
        viewer.quit()

    def test_a_model_saved_with_a_curved_surface_shows_it_round(self):
        def cube(*keys):
            return mqo([box("cube", (20, 20, 20), keys=keys)], [material("red", (1, 0, 0), emi=0.5)],
                       extra=FRONT_VIEW)
        viewer, folder = self.open({"card.mqo": cube()})
        square = region(viewer.picture_showing("red", 1000), "red")
        # Seen as before, the cube refined round lies within its square.
        (folder / "card.mqo").write_bytes(cube("patch 3", "segment 2"))
        viewer.picture_where(lambda p: 0.3 * len(square) < p.count("red") < 0.85 * len(square) and
                             len(region(p, "red") - square) < SAME_SHAPE, "the cube rounded")
        self.assertEqual(viewer.stderr(), "")
        viewer.quit()

    def test_keys_show_help_information_wireframe_textures_and_save_screenshots(self):
        viewer, folder = self.open({"card.mqo": card(painted("skin.png")), "skin.png": png([[MAGENTA] * 2] * 2)})
        shaded = region(viewer.picture_showing("magenta", 1000), "magenta")

        def after(key, condition, what):
            viewer.key(key)
            return viewer.picture_where(condition, what)

        after("h", lambda p: len(region(p, "notice", 100, 500)) > 1000, "the help in the middle of the window")
        after("h", lambda p: p.count("notice") == 0, "the help hidden")
        after("i", lambda p: len(region(p, "notice", 560)) > 200, "the information line at the bottom")
        after("i", lambda p: p.count("notice") == 0, "the information line hidden")

        after("t", lambda p: p.count("magenta") == 0 and len(region(p, "yellow") ^ shaded) < SAME_SHAPE,
              "the card in its own colour")
        after("t", lambda p: len(region(p, "magenta") ^ shaded) < SAME_SHAPE, "the texture back")

        # The card's edges and diagonal over it, then alone, then gone.
        after("w", lambda p: p.count("dark line") > 150 and p.count("magenta") > 0.95 * len(shaded),
              "the wireframe over the card")
        after("w", lambda p: p.count("light line") > 150 and p.count("magenta") == 0, "the wireframe alone")
        after("w", lambda p: p.count("light line") + p.count("dark line") == 0 and
              len(region(p, "magenta") ^ shaded) < SAME_SHAPE, "the card shaded again")

        # Each screenshot takes the next free number, shows the scene without
        # the window's texts, and is told where it went.
        for key, name in (("F12", "card-001.png"), ("o", "card-002.png")):
            after(key, lambda p: len(region(p, "notice", 0, 40)) > 100, f"the message about {name}")
            self.assertIn(f"varnel: saved the screenshot {folder / name}\n", viewer.stderr())
            ppm = subprocess.run(["convert", str(folder / name), "ppm:-"], capture_output=True, check=True).stdout
            saved = Picture(ppm)
            self.assertEqual((saved.width, len(saved.pixels)), (800, 800 * 600))
            self.assertLess(len(region(saved, "magenta") ^ shaded), SAME_SHAPE)
            self.assertEqual(saved.count("notice"), 0)
        viewer.quit()

        # The console lists the keys the window's help does.
        shown = viewer.stdout().decode()
        for line in ("  h                  shows and hides this help\n",
                     "  F12, o             saves a screenshot as NAME-001.png\n",
                     "  w                  wireframe over the model, alone, off\n"):
            self.assertIn(line, shown)


if __name__ == "__main__":
    unittest.main()
