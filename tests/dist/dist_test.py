"""Varnel on a desktop: a staged install checked file by file, the model
files' types as the desktop's own tools read them, the thumbnailer run as
its entry says, and the Debian package, its dependencies and contents."""

import configparser
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "app"))
from model_files import box, mqo, mqoz  # noqa: E402
from rgba_picture import RgbaPicture  # noqa: E402

BUILD = Path(os.environ["VARNEL_BUILD"])
VERSION = os.environ["VARNEL_VERSION"]
ASSETS = Path(os.environ["VARNEL_ASSETS"])
PROGRAMS = ["mqoinfo", "varnel", "varnel-thumbnailer"]
MIME = "{http://www.freedesktop.org/standards/shared-mime-info}"
TYPES = ["model/x-mqo", "model/x-mqoz"]


def installed_files():
    """Every file an install under /usr puts in place, by its path there."""
    files = [f"usr/bin/{program}" for program in PROGRAMS]
    files += [f"usr/share/man/man1/{program}.1.gz" for program in PROGRAMS]
    files += ["usr/share/applications/varnel.desktop", "usr/share/icons/hicolor/scalable/apps/varnel.svg",
              "usr/share/mime/packages/varnel.xml", "usr/share/thumbnailers/varnel.thumbnailer",
              "usr/share/varnel/qemi_one.mqo"]
    files += [f"usr/share/varnel/Texture/{p.name}" for p in (ASSETS / "Texture").iterdir()]
    return sorted(files)


def files_under(root):
    return sorted(str(p.relative_to(root)) for p in Path(root).rglob("*") if p.is_file() or p.is_symlink())


def run(*arguments, **options):
    return subprocess.run([str(a) for a in arguments], capture_output=True, timeout=300, **options)


def entry(path, group):
    """One group of a desktop-style key file, its keys as written."""
    keys = configparser.ConfigParser(interpolation=None)
    keys.optionxform = str
    keys.read(path, encoding="utf-8")
    return dict(keys[group])


def crate():
    return mqo([box("crate", (20, 20, 20), (0, 10, 0))])


class Desktop(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="varnel-dist-"))
        self.addCleanup(shutil.rmtree, self.folder)

    def stage(self, prefix="/usr"):
        """The install staged in a folder of the test's own."""
        stage = self.folder / "stage"
        result = run("cmake", "--install", BUILD, "--prefix", prefix, env={**os.environ, "DESTDIR": str(stage)})
        self.assertEqual(result.returncode, 0, result.stderr)
        return stage

    def make_thumbnail(self, thumbnailer_entry, bin_folder, model, size=96):
        """Runs the thumbnailer as a file manager does from its entry."""
        command = entry(thumbnailer_entry, "Thumbnailer Entry")["Exec"].split()
        output = self.folder / "thumbnail.png"
        arguments = [{"%s": str(size), "%i": str(model), "%o": str(output)}.get(word, word) for word in command]
        environment = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        environment["PATH"] = f"{bin_folder}:{environment['PATH']}"
        result = run(*arguments, env=environment)
        self.assertEqual(result.returncode, 0, result.stderr)
        picture = RgbaPicture(output)
        self.assertEqual((picture.width, picture.height), (size, size))
        self.assertGreater(len(picture.covered()), size * size // 10)

    def test_a_staged_install_puts_each_file_where_debian_keeps_it(self):
        stage = self.stage()
        self.assertEqual(files_under(stage), installed_files())
        share = stage / "usr/share"
        for program in PROGRAMS:
            with self.subTest(program):
                self.assertTrue(os.access(stage / "usr/bin" / program, os.X_OK))
                self.assertEqual(run(stage / "usr/bin" / program, "--help").returncode, 0)
                page = gzip.decompress((share / f"man/man1/{program}.1.gz").read_bytes()).decode()
                self.assertTrue(page.startswith(f'.TH {program.upper()} 1 "'), page[:80])
                self.assertIn(f'"Varnel {VERSION}"', page.splitlines()[0])
                lint = run("groff", "-man", "-Tutf8", "-ww", "-z", input=page.encode())
                self.assertEqual((lint.returncode, lint.stderr), (0, b""))
        # The bundled model, to try the viewer on.
        self.assertEqual((share / "varnel/qemi_one.mqo").read_bytes(), (ASSETS / "qemi_one.mqo").read_bytes())

        desktop = share / "applications/varnel.desktop"
        check = run("desktop-file-validate", desktop)
        self.assertEqual((check.returncode, check.stdout, check.stderr), (0, b"", b""))
        keys = entry(desktop, "Desktop Entry")
        self.assertEqual(keys["Categories"], "Graphics;3DGraphics;Viewer;")
        self.assertEqual(keys["MimeType"], "model/x-mqo;model/x-mqoz;")
        self.assertEqual((keys["Exec"], keys["Icon"]), ("varnel %f", "varnel"))

        xml = share / "mime/packages/varnel.xml"
        check = run("xmllint", "--noout", xml)
        self.assertEqual((check.returncode, check.stderr), (0, b""))
        types = {t.get("type"): t for t in ElementTree.parse(xml).getroot().iter(MIME + "mime-type")}
        self.assertEqual(sorted(types), TYPES)
        self.assertEqual([g.get("pattern") for g in types["model/x-mqo"].iter(MIME + "glob")], ["*.mqo"])
        self.assertEqual([g.get("pattern") for g in types["model/x-mqoz"].iter(MIME + "glob")], ["*.mqoz"])
        magic = [(m.get("offset"), m.get("value")) for m in types["model/x-mqo"].iter(MIME + "match")]
        self.assertEqual(magic, [("0", "Metasequoia Document")])

        thumbnailer = share / "thumbnailers/varnel.thumbnailer"
        self.assertEqual(entry(thumbnailer, "Thumbnailer Entry"),
                         {"TryExec": "varnel-thumbnailer", "Exec": "varnel-thumbnailer -s %s %i %o",
                          "MimeType": "model/x-mqo;model/x-mqoz;"})

        icon = self.folder / "icon.png"
        drawn = run("rsvg-convert", "-w", 48, "-h", 48, share / "icons/hicolor/scalable/apps/varnel.svg", "-o", icon)
        self.assertEqual(drawn.returncode, 0, drawn.stderr)
        picture = RgbaPicture(icon)
        self.assertEqual((picture.width, picture.height), (48, 48))
        self.assertGreater(sum(1 for p in picture.pixels if p[3] == 255), 48 * 48 // 4)

        # Another prefix moves everything alike.
        shutil.rmtree(stage)
        local = self.stage("/usr/local")
        self.assertEqual(files_under(local), [path.replace("usr/", "usr/local/", 1) for path in installed_files()])

    def test_the_desktop_knows_model_files_opens_them_with_varnel_and_draws_their_thumbnails(self):
        share = self.stage() / "usr/share"
        quiet = {"XDG_DATA_DIRS": f"{share}:/usr/share", "XDG_DATA_HOME": str(self.folder / "home"),
                 "XDG_CONFIG_HOME": str(self.folder / "home"), "XDG_CONFIG_DIRS": str(self.folder / "home")}
        environment = {**os.environ, **quiet}
        environment.pop("XDG_CURRENT_DESKTOP", None)
        for tool, folder in (("update-mime-database", share / "mime"),
                             ("update-desktop-database", share / "applications")):
            result = run(tool, folder, env=environment)
            self.assertEqual((result.returncode, result.stderr), (0, b""))
        files = {
            "tank.mqo": (crate(), "model/x-mqo"),
            "TANK.MQO": (crate(), "model/x-mqo"),
            # Known by its first line, whatever its name.
            "tank": (crate(), "model/x-mqo"),
            "tank.mqoz": (mqoz({"tank.mqo": crate()}), "model/x-mqoz"),
            "tank.zip": (mqoz({"tank.mqo": crate()}), "application/zip"),
            "notes": (b"Metasequoia is a modeller\n", "text/plain"),
        }
        for name, (content, kind) in files.items():
            with self.subTest(name):
                (self.folder / name).write_bytes(content)
                result = run("xdg-mime", "query", "filetype", self.folder / name, env=environment)
                self.assertEqual(result.stdout.decode().strip(), kind, result.stderr)
        for kind in TYPES:
            result = run("xdg-mime", "query", "default", kind, env=environment)
            self.assertEqual(result.stdout.decode().strip(), "varnel.desktop")
        self.make_thumbnail(share / "thumbnailers/varnel.thumbnailer", share.parent / "bin", self.folder / "tank.mqoz")

    def test_the_debian_package_names_what_it_needs_and_holds_the_install(self):
        made = run("cpack", "-G", "DEB", "--config", BUILD / "CPackConfig.cmake", "-B", self.folder / "package")
        self.assertEqual(made.returncode, 0, made.stdout + made.stderr)
        package = next((self.folder / "package").glob("*.deb"))
        self.assertEqual(package.name, f"varnel_{VERSION}_amd64.deb")
        info = run("dpkg-deb", "--info", package)
        self.assertEqual(info.returncode, 0, info.stderr)
        fields = dict(re.findall(r"^ ([A-Z][\w-]*): (.*)$", info.stdout.decode(), re.MULTILINE))
        self.assertEqual((fields["Package"], fields["Version"], fields["Architecture"], fields["Section"]),
                         ("varnel", VERSION, "amd64", "graphics"))
        depends = [set(re.sub(r"\s*\(.*?\)", "", choice).strip() for choice in need.split("|"))
                   for need in fields["Depends"].split(",")]
        named = set().union(*depends)
        # EGL, Mesa's EGL and its drivers, loaded as the programs run.
        self.assertLessEqual({"libegl1", "libegl-mesa0", "libgl1-mesa-dri"}, named)

        unpacked = self.folder / "root"
        result = run("dpkg", "-x", package, unpacked)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(files_under(unpacked), installed_files())
        # Each library the programs link comes from a package named; the
        # ones those link in turn come with their packages.
        for program in PROGRAMS:
            binary = unpacked / "usr/bin" / program
            places = dict(re.findall(r"^\s*(\S+) => (/\S+)", run("ldd", binary).stdout.decode(), re.MULTILINE))
            needed = re.findall(r"^\s*NEEDED\s+(\S+)$", run("objdump", "-p", binary).stdout.decode(), re.MULTILINE)
            self.assertGreater(len(needed), 5)
            for library in needed:
                with self.subTest(program=program, library=library):
                    owner = run("dpkg", "-S", places[library])
                    if owner.returncode != 0:
                        owner = run("dpkg", "-S", os.path.realpath(places[library]))
                    packages = {p.split(":")[0] for p in owner.stdout.decode().split(": ")[0].split(", ")}
                    self.assertTrue(packages & named, f"{library} comes from {packages}")
        self.make_thumbnail(unpacked / "usr/share/thumbnailers/varnel.thumbnailer", unpacked / "usr/bin",
                            unpacked / "usr/share/varnel/qemi_one.mqo")


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
