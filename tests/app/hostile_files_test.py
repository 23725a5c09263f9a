"""Files made to hurt, given to the viewer in both modes and to mqoinfo: each
must end normally with its message, never block, and stay within 64 MiB + 8
times the size of the files read of memory above the viewer, or mqoinfo, on
an empty model."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

from model_files import box, material, mqo, mqoz

VARNEL = os.environ["VARNEL"]
MQOINFO = os.environ["MQOINFO"]
CORPUS = Path(__file__).parent.parent / "fuzz" / "corpus"
HEAVY = os.environ.get("VARNEL_HEAVY") == "1"
MIB = 1 << 20
HEADER = b"Metasequoia Document\r\nFormat Text Ver 1.0\r\n"


def patched(archive, local, central, value, size=4):
    """The archive with `value` at `local` of its first entry's local header
    and at `central` of its first central directory entry."""
    data = bytearray(archive)
    directory = struct.unpack_from("<I", data, len(data) - 22 + 16)[0]
    for offset in (local, directory + central):
        data[offset:offset + size] = value.to_bytes(size, "little")
    return bytes(data)


def measured(command, cwd):
    """Runs `command` with no input; its status, output and peak memory."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                   env={**os.environ, "LANG": "C.UTF-8"})
        _, status, usage = os.wait4(process.pid, 0)
        out.seek(0)
        err.seek(0)
        return os.waitstatus_to_exitcode(status), out.read(), err.read(), usage.ru_maxrss * 1024


class HostileFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.empty = {mode: cls.run_viewer(None, mode, Path(tempfile.mkdtemp()))[3] for mode in ("classic", "model")}
        folder = Path(tempfile.mkdtemp())
        (folder / "empty.mqo").write_bytes(HEADER)
        cls.empty["mqoinfo"] = measured([MQOINFO, str(folder / "empty.mqo")], folder)[3]
        subprocess.run(["rm", "-rf", str(folder)])

    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="varnel-hostile-"))
        self.addCleanup(subprocess.run, ["rm", "-rf", str(self.folder)])

    @staticmethod
    def run_viewer(model, mode, folder):
        """The viewer on `model` (a name in `folder`, None for none): the
        classic mode finds it as qemi_one.mqo, model mode by its path."""
        command = [VARNEL, "--screenshot", str(folder / "shot.png"), "--after", "0"]
        if mode == "classic":
            if model is not None and model != "qemi_one.mqo":
                os.symlink(folder / model, folder / "qemi_one.mqo")
        elif model is not None:
            command.append(str(folder / model))
        return measured(command, folder)

    def check(self, model, files_read, classic=None, model_mode=None, mqoinfo=None):
        """Runs each reader that is given an expectation: a piece of its
        output, or a (status, piece) pair for mqoinfo."""
        allowed = 64 * MIB + 8 * files_read
        for mode, expected in (("classic", classic), ("model", model_mode)):
            if expected is None:
                continue
            with self.subTest(mode=mode):
                status, out, err, peak = self.run_viewer(model, mode, self.folder)
                self.assertEqual(status, 0, err)
                self.assertIn(expected, out + err)
                self.assertLessEqual(peak - self.empty[mode], allowed)
                (self.folder / "qemi_one.mqo").unlink(missing_ok=True)
        if mqoinfo is not None:
            status, out, err, peak = measured([MQOINFO, str(self.folder / model)], self.folder)
            self.assertEqual((status, mqoinfo[1] in out + err), (mqoinfo[0], True), err)
            self.assertLessEqual(peak - self.empty["mqoinfo"], allowed)

    def test_model_files_that_lie_or_block(self):
        os.mkfifo(self.folder / "fifo.mqo")
        self.check("fifo.mqo", 0, classic=b"Can't open mqo file. [enter]\n", mqoinfo=(2, b"cannot open"))
        status, _, err, _ = measured([VARNEL, str(self.folder / "fifo.mqo")], self.folder)
        self.assertEqual((status, err), (1, f"varnel: cannot open '{self.folder}/fifo.mqo': not a regular file\n"
                                            .encode()))
        heads = b"".join(b'Object "o" {\r\nvertex 262144 {\r\n0 0 0\r\n}\r\n}\r\n' for _ in range(1000))
        (self.folder / "heads.mqo").write_bytes(HEADER + heads + b"\0" * MIB)
        self.check("heads.mqo", len(heads) + MIB, classic=b"", model_mode=b"", mqoinfo=(0, b"objects: 1000"))

    def test_long_runs_of_tiny_objects_and_materials(self):
        size = (20 if HEAVY else 1) * MIB
        objects = HEADER + b'Object "o" {\n}\n' * (size // 15)
        materials = HEADER + b"Material 1 {\n" + b"a\n" * (size // 2) + b"}\n"
        for name, content in (("objects.mqo", objects), ("materials.mqo", materials)):
            with self.subTest(name=name):
                (self.folder / name).write_bytes(content)
                self.check(name, len(content), classic=b"", model_mode=b"", mqoinfo=(0, b"result: 0"))

    def test_pictures_that_lie_block_or_climb_out(self):
        texture = self.folder / "Texture"
        texture.mkdir()
        (self.folder / "outside.tga").write_bytes((CORPUS / "tga" / "colour_3x2.tga").read_bytes())
        pictures = {"huge.tga": "tga/claims_16384x16384.tga", "huge.bmp": "bmp/claims_16384x16384.bmp",
                    "huge.jpg": "jpeg/claims_16384x16384.jpg", "scans.jpg": "jpeg/many_scans_8x8.jpg",
                    "huge.dds": "dds/claims_16384x16384.dds"}
        for name, source in pictures.items():
            (texture / name).write_bytes((CORPUS / source).read_bytes())
        os.mkfifo(texture / "fifo.tga")
        cases = [
            ("huge.tga", b"Can't read tga file\n", b"broken file"),
            ("huge.bmp", b"Can't read bmp file\n", b"broken file"),
            ("huge.jpg", b"Can't read jpeg file.\n", b"broken file"),
            ("scans.jpg", b"more than 64 scans", b"more than 64 scans"),
            ("huge.dds", b"This file type is not supported! huge.dds\n", b"ends inside its top level"),
            ("fifo.tga", b"Can't open file\n", b"not found"),
            # Model mode takes the name's last part in the model's folder.
            ("../outside.tga", b"Can't open file\n", b""),
            ("a\x1b[2Jb\x07.gif", b"This file type is not supported! a?[2Jb?.gif\n", b'texture "a?[2Jb?.gif"'),
        ]
        for name, classic, model_mode in cases:
            with self.subTest(texture=name):
                model = mqo([box("b", (1, 1, 1))], [material("m", (1, 1, 1), extra=f'tex("{name}")')], encoding="latin-1")
                (self.folder / "model.mqo").write_bytes(model)
                read = len(model) + ((texture / name).stat().st_size if name in pictures else 0)
                self.check("model.mqo", read, classic=classic, model_mode=model_mode)

    def test_archives_that_hide_lie_or_break(self):
        model = HEADER + b'Object "o" {\r\n}\r\n'
        zeros = mqoz({"zeros.mqo": model + bytes(10 * MIB)})
        claims = patched(mqoz({"big.mqo": model + b" " * 1000}), 22, 24, 0xFFFFFFFE)
        good = mqoz({"a.mqo": model, "b.png": b"x"})
        directory = struct.unpack_from("<I", good, len(good) - 22 + 16)[0]

        def too_long(name, archive):
            return f'the archive\'s "{name}" inflates to more than {200 * len(archive)} bytes, 200 times the ' \
                   "archive's size"

        cases = [
            ("empty", mqoz({}), "the archive holds no .mqo file"),
            ("two models", mqoz({"a.mqo": model, "b.mqo": model}), "the archive holds 2 .mqo files; it must hold one"),
            ("1 KiB claiming 4 GiB", claims, too_long("big.mqo", claims)),
            ("10 MiB of zeros", zeros, too_long("zeros.mqo", zeros)),
            ("10 MiB of zeros claiming 1 KiB", patched(zeros, 22, 24, 1024), too_long("zeros.mqo", zeros)),
            ("climbing names", mqoz({"../../model.mqo": model}), "the archive holds no .mqo file"),
            ("cut central directory", good[:directory + (len(good) - directory) // 2],
             "broken zip archive (Not a zip archive)"),
            ("encrypted", patched(good, 6, 8, good[6] | 1, 1), 'the archive\'s "a.mqo" is encrypted'),
            ("wrong checksum", patched(good, 14, 16, 0x12345678), 'the archive\'s "a.mqo" is broken (CRC error)'),
        ]
        empty = self.folder / "empty.mqo"
        empty.write_bytes(HEADER)
        self.run_viewer("empty.mqo", "model", self.folder)
        empty_scene = (self.folder / "shot.png").read_bytes()
        for name, archive, reason in cases:
            with self.subTest(archive=name):
                path = self.folder / "hostile.mqoz"
                path.write_bytes(archive)
                allowed = 64 * MIB + 8 * len(archive)
                status, out, err, peak = self.run_viewer("hostile.mqoz", "model", self.folder)
                self.assertEqual((status, err), (0, f"varnel: cannot read '{path}': {reason}\n".encode()))
                self.assertLessEqual(peak - self.empty["model"], allowed)
                self.assertEqual((self.folder / "shot.png").read_bytes(), empty_scene)
                status, out, err, peak = measured([MQOINFO, str(path)], self.folder)
                self.assertEqual((status, out, err), (2, b"", f"mqoinfo: cannot read {path}: {reason}\n".encode()))
                self.assertLessEqual(peak - self.empty["mqoinfo"], allowed)

    @unittest.skipUnless(HEAVY, "make test-heavy")
    def test_sparse_models_whose_heads_claim_billions(self):
        for name, head, size in (("faces.mqo", b"face 2147483647 {", 2 << 30),
                                 ("vertices.mqo", b"vertex 2147483647 {", 8 << 30)):
            with self.subTest(name=name):
                # Zeros up to the size, which hold no disk.
                with open(self.folder / name, "wb") as file:
                    file.write(HEADER + b'Object "o" {\r\n' + head + b"\r\n")
                    file.truncate(size)
                self.check(name, 0, classic=b"EOF\n", model_mode=name.encode() + b":", mqoinfo=(1, b"EOF"))


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
