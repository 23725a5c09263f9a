"""The viewer as a console program: its help text, the messages for model
files it cannot use, its window, and the keys that end it."""

import subprocess
import sys
import unittest

import models
from viewer_session import Viewer, is_blue, is_white, poll

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
HELP_BYTES = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=HELP_TEXT.encode(),
                            capture_output=True, check=True).stdout


class ConsoleAndWindow(unittest.TestCase):
    def test_help_bytes_window_and_q(self):
        with Viewer({"qemi_one.mqo": models.green_box()}) as viewer:
            viewer.find_window()
            geometry = viewer.geometry()
            self.assertEqual((geometry["WIDTH"], geometry["HEIGHT"]), ("800", "600"))
            self.assertEqual((geometry["X"], geometry["Y"]), ("100", "100"))
            viewer.picture_showing(is_blue, "the first frame")
            viewer.quit()
            self.assertEqual(viewer.stdout(), HELP_BYTES)

    def test_capital_q_and_escape_also_end_it(self):
        for key in ("Q", "Escape"):
            with self.subTest(key=key), Viewer({"qemi_one.mqo": models.green_box()}) as viewer:
                viewer.find_window()
                viewer.picture_showing(is_blue, "the first frame")
                viewer.quit(key)

    def test_unusable_model_is_reported_and_the_window_still_opens(self):
        cases = {
            b"Metasequoia\r\nFormat Text Ver 1.0\r\n": b"Header Error\n",
            models.HEADER.replace(b"Ver 1.0", b"Ver 1.1"): b"Format Error\n",
            models.green_box().split(b"\t}\r\n}")[0]: b"EOF\n",
            models.HEADER + b"Object \"open\"\r\n}\r\n": b"Error\n",
            b"\xef\xbb\xbf" + models.green_box(): b"Header Error\n",
        }
        for content, message in cases.items():
            with self.subTest(message=message), Viewer({"qemi_one.mqo": content}) as viewer:
                viewer.find_window()
                viewer.picture_showing(is_blue, "the gizmo")
                viewer.quit()
                self.assertEqual(viewer.stdout(), HELP_BYTES + message)

    def test_missing_model_waits_for_a_line_then_shows_an_empty_scene(self):
        with Viewer({}) as viewer:
            prompt = HELP_BYTES + b"Can't open mqo file. [enter]\n"
            poll(lambda: viewer.stdout() == prompt, "the prompt")
            self.assertTrue(viewer.window_has_no_viewer_yet())
            viewer.send_line()
            viewer.find_window()
            picture = viewer.picture_showing(is_blue, "the gizmo")
            self.assertGreaterEqual(picture.count(is_white), 2)
            viewer.quit()
            self.assertEqual(viewer.stdout(), prompt)


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
