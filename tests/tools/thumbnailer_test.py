"""varnel-thumbnailer as a file manager runs it: no display, a square PNG
of the model framed from its saved view over a clear background, status 1
and no file for anything it can't read, nothing written but OUTPUT and
nothing opened outside the model's folder, inside a sandbox like the one
file managers run thumbnailers in."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "app"))
from model_files import box, material, mqo, mqoz, png  # noqa: E402
from rgba_picture import RgbaPicture, share_unlike  # noqa: E402
from sanitizer_options import without_leak_check  # noqa: E402

THUMBNAILER = os.environ["THUMBNAILER"]
ASSETS = Path(os.environ["VARNEL_ASSETS"])
BUNDLED_TEXTURES = sorted(p.name for p in (ASSETS / "Texture").iterdir())
# The most of its side a thumbnail leaves clear around the model, and the
# least the model takes.
LEAST_SHARE = 0.8
USAGE = (b"usage: varnel-thumbnailer -s SIZE INPUT OUTPUT\n"
         b"Writes a SIZE by SIZE PNG picture (SIZE from 1 to 4096) of the model INPUT\n"
         b"(.mqo, or compressed as .mqoz) to OUTPUT: seen from the view its file saved,\n"
         b"where it was modelled, over a clear background. Needs no display.\n")


def thumbnail(*arguments, wrapper=(), cwd="/"):
    """The thumbnailer's run without a display."""
    environment = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
    if wrapper:
        # NOTE: the leak check of a sanitizer build cannot run under a tracer.
        environment = without_leak_check(environment)
    return subprocess.run([*wrapper, THUMBNAILER, *map(str, arguments)], capture_output=True, cwd=cwd,
                          env=environment, timeout=300)


def coloured_box(view):
    """A box with a red front (+z), a blue right side (+x) and a green top,
    seen from the saved `view` (head, pitch)."""
    name, vertices, sides, keys = box("box", (20, 20, 20), (0, 10, 0))
    kinds = [0, 1, 0, 2, 0, 3]
    faces = [(corners, kind) for (corners, _), kind in zip(sides, kinds)]
    materials = [material("grey", (0.5, 0.5, 0.5)), material("red", (1, 0, 0), emi=0.3),
                 material("green", (0, 1, 0), emi=0.3), material("blue", (0, 0, 1), emi=0.3)]
    scene = f"Scene {{\r\n\thead {view[0]}\r\n\tpich {view[1]}\r\n}}"
    return mqo([(name, vertices, faces, keys)], materials, extra=scene)


def colours_seen(picture):
    """Which of red, green and blue show on more than 200 pixels."""
    def count(channel):
        return sum(1 for p in picture.pixels if p[3] == 255 and p[channel] > 2 * max(p[:3]) // 3 + 40
                   and all(p[channel] > p[c] + 60 for c in range(3) if c != channel))
    return tuple(count(channel) > 200 for channel in range(3))


def bundled_archive():
    """The bundled model in a compressed file, its textures inside."""
    files = {"qemi_one.mqo": (ASSETS / "qemi_one.mqo").read_bytes()}
    files.update({f"Texture/{name}": (ASSETS / "Texture" / name).read_bytes() for name in BUNDLED_TEXTURES})
    return mqoz(files)


class Thumbnailer(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="varnel-thumbnails-"))
        self.addCleanup(shutil.rmtree, self.folder)

    def write(self, name, content):
        path = self.folder / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content)
        return path

    def bundled_model(self, folder="models"):
        shutil.copytree(ASSETS, self.folder / folder, ignore=shutil.ignore_patterns(".*"))
        return self.folder / folder / "qemi_one.mqo"

    def assertThumbnail(self, path, size):
        """A SIZE by SIZE picture of the model alone, filling most of it."""
        picture = RgbaPicture(path)
        self.assertEqual((picture.width, picture.height), (size, size))
        covered = picture.covered()
        xs, ys = [x for x, _ in covered], [y for _, y in covered]
        self.assertGreater(max(max(xs) - min(xs), max(ys) - min(ys)) + 1, LEAST_SHARE * size)
        self.assertTrue(min(xs) > 0 and min(ys) > 0 and max(xs) < size - 1 and max(ys) < size - 1)
        for corner in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
            self.assertEqual(picture.at(*corner), (0, 0, 0, 0))
        return picture

    def test_plain_and_compressed_models_in_squares_of_any_size(self):
        plain = self.bundled_model()
        compressed = self.write("packed/model.mqoz", bundled_archive())
        out = self.folder / "out"
        out.mkdir()
        for size in (32, 128, 256):
            with self.subTest(size=size):
                pictures = []
                for model in (plain, compressed):
                    result = thumbnail("-s", size, model, out / f"{model.name}-{size}.png")
                    self.assertEqual((result.returncode, result.stdout, result.stderr), (0, b"", b""))
                    pictures.append(self.assertThumbnail(out / f"{model.name}-{size}.png", size))
                # Textures inside the archive are the ones beside the plain file.
                self.assertLessEqual(share_unlike(*pictures), 0.01)
                self.assertGreater(len(set(pictures[0].pixels)), 100)
        # Nothing but the pictures asked for was written anywhere here.
        self.assertEqual(sorted(p.name for p in self.folder.rglob("*") if p.is_file()),
                         sorted([f"{m}-{s}.png" for m in ("qemi_one.mqo", "model.mqoz") for s in (32, 128, 256)]
                                + BUNDLED_TEXTURES + ["qemi_one.mqo", "model.mqoz"]))
        one = thumbnail("-s", 1, plain, out / "one.png")
        self.assertEqual(one.returncode, 0, one.stderr)
        self.assertEqual((RgbaPicture(out / "one.png").width, RgbaPicture(out / "one.png").height), (1, 1))

    def test_the_model_is_seen_from_the_view_its_file_saved(self):
        for name, view, seen in (("front", (0, 0), (True, False, False)),
                                 ("right", (-1.5708, 0), (False, False, True)),
                                 ("top", (0, 1.5708), (False, True, False))):
            with self.subTest(name):
                model = self.write(f"{name}.mqo", coloured_box(view))
                result = thumbnail("-s", 128, model, self.folder / f"{name}.png")
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(colours_seen(self.assertThumbnail(self.folder / f"{name}.png", 128)), seen)

    def test_a_file_it_cannot_read_gives_status_1_and_no_picture(self):
        crate = mqo([box("crate", (20, 20, 20), (0, 10, 0))])
        fifo = self.folder / "fifo.mqo"
        os.mkfifo(fifo)
        cases = [
            ("missing.mqo", None, "cannot open '{}': No such file or directory"),
            ("folder.mqo", "folder", "cannot open '{}': Is a directory"),
            ("fifo.mqo", "fifo", "cannot open '{}': not a regular file"),
            ("empty.mqo", b"", "{}:0: expected \"Metasequoia Document\""),
            ("broken.mqo", crate.replace(b"\tface 6 {", b"\tface 6 ("), "{}:15: expected"),
            ("picture.mqo", png([[(1, 2, 3, 255)]]), "{}:1: expected"),
            ("two.mqoz", mqoz({"a.mqo": crate, "b.mqo": crate}), "cannot read '{}': the archive holds 2 .mqo files"),
            ("broken.mqoz", mqoz({"a.mqo": crate[:200]}), "{}:"),
        ]
        for name, content, message in cases:
            with self.subTest(name):
                path = self.folder / name
                if content == "folder":
                    path.mkdir()
                elif content is not None and content != "fifo":
                    path.write_bytes(content)
                output = self.folder / "never.png"
                result = thumbnail("-s", 128, path, output)
                self.assertEqual((result.returncode, result.stdout), (1, b""))
                errors = result.stderr.decode()
                self.assertTrue(errors.startswith("varnel-thumbnailer: " + message.format(path)), errors)
                self.assertEqual(errors.count("\n"), 1, errors)
                self.assertFalse(output.exists())
        unwritable = self.folder / "no such folder" / "out.png"
        result = thumbnail("-s", 128, self.write("crate.mqo", crate), unwritable)
        self.assertEqual((result.returncode, result.stderr.decode()),
                         (1, f"varnel-thumbnailer: cannot write '{unwritable}'\n"))

    def test_command_lines_it_refuses(self):
        model = self.write("crate.mqo", mqo([box("crate", (20, 20, 20), (0, 10, 0))]))
        out = self.folder / "out.png"
        for arguments in ([], ["-s", 128, model], [model, out], ["-s", 0, model, out], ["-s", 4097, model, out],
                          ["-s", "12x", model, out], ["-s", "", model, out], ["-s", 12, "-s", 12, model, out],
                          ["-s", 12, model, out, out], ["--size", 12, model, out], ["-s"]):
            with self.subTest(arguments=arguments):
                result = thumbnail(*arguments)
                self.assertEqual((result.returncode, result.stdout, result.stderr), (2, b"", USAGE))
                self.assertFalse(out.exists())
        self.assertEqual(thumbnail("--help").stdout, USAGE)
        # The order file managers give, and the size after the files.
        self.assertEqual(thumbnail(model, out, "-s", 64).returncode, 0)
        self.assertThumbnail(out, 64)

    def test_in_a_sandbox_without_network_display_or_anything_writable_but_the_output(self):
        model = self.bundled_model()
        outside = self.folder / "outside.png"
        self.assertEqual(thumbnail("-s", 128, model, outside).returncode, 0)
        build = Path(THUMBNAILER).resolve().parents[2]
        source = ASSETS.parent
        sandbox = ["bwrap", "--unshare-all", "--die-with-parent", "--clearenv", "--setenv", "PATH", "/usr/bin",
                   "--ro-bind", "/usr", "/usr", "--symlink", "usr/lib", "/lib", "--symlink", "usr/lib64", "/lib64",
                   "--symlink", "usr/bin", "/bin", "--ro-bind-try", "/etc/ld.so.cache", "/etc/ld.so.cache",
                   "--proc", "/proc", "--dev", "/dev", "--chdir", "/",
                   "--ro-bind", str(build), str(build), "--ro-bind", str(source / "tests"), str(source / "tests")]
        for name in ("LSAN_OPTIONS", "UBSAN_OPTIONS", "ASAN_OPTIONS"):
            if name in os.environ:
                sandbox += ["--setenv", name, os.environ[name]]
        out = self.folder / "out"
        out.mkdir()
        # The model's folder readable, or the model's file alone, as some
        # file managers give it: its textures are then not there to be found.
        cases = [("its folder", ["--ro-bind", str(model.parent), "/models"], "/models/qemi_one.mqo", True),
                 ("the file alone", ["--ro-bind", str(model), "/tmp/model.mqo"], "/tmp/model.mqo", False)]
        for name, binds, inside, textured in cases:
            with self.subTest(name):
                result = subprocess.run([*sandbox, *binds, "--bind", str(out), "/out", THUMBNAILER, "-s", "128",
                                         inside, "/out/thumbnail.png"], capture_output=True, timeout=300)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(os.listdir(out), ["thumbnail.png"])
                picture = self.assertThumbnail(out / "thumbnail.png", 128)
                alike = share_unlike(picture, RgbaPicture(outside)) <= 0.01
                self.assertEqual(alike, textured)
                self.assertEqual(result.stderr.count(b"not found"), 0 if textured else len(BUNDLED_TEXTURES))
                (out / "thumbnail.png").unlink()

    def test_writes_nothing_but_output_and_opens_nothing_outside_the_models_folder(self):
        model = self.bundled_model("models/tank")
        # A texture that names a file beside the model's folder, which is
        # there to be found.
        self.write("models/secret.png", png([[(255, 0, 0, 255)]]))
        text = model.read_bytes().replace(b'tex("brick.tga")', b'tex("../secret.png")')
        model.write_bytes(text)
        output = self.folder / "out.png"
        log = self.folder / "calls.txt"
        calls = "open,openat,creat,mkdir,mkdirat,rename,renameat,renameat2,unlink,unlinkat,link,linkat,symlink"
        cwd = self.folder / "elsewhere"
        cwd.mkdir()
        result = thumbnail("-s", 64, model, output, wrapper=["strace", "-f", "-qq", "-o", log, "-e", calls], cwd=cwd)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn(b"../secret.png", result.stderr)
        system = ("/usr/", "/lib", "/etc/", "/proc/", "/sys/", "/dev/", str(Path(THUMBNAILER).parent) + "/")
        for line in log.read_text().splitlines():
            call = re.match(r'\d+ +(\w+)\((?:AT_FDCWD, |\d+, )?"([^"]*)"(.*)\) += (-?\d+)', line)
            if not call or int(call[4]) < 0:
                continue
            name, path, rest = call[1], call[2], call[3]
            with self.subTest(line=line):
                if name in ("open", "openat", "creat"):
                    writing = name == "creat" or re.search(r"O_WRONLY|O_RDWR|O_CREAT|O_TRUNC", rest)
                    if writing:
                        self.assertIn(path, (str(output), "/dev/null"))
                    else:
                        self.assertTrue(path.startswith(system) or path.startswith(str(model.parent)), path)
                else:
                    self.fail(f"{name} of {path}")
        self.assertEqual(os.listdir(cwd), [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
