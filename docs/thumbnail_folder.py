#!/usr/bin/env python3
"""Makes docs/thumbnails.png, the README's folder of model files as a file
manager shows them: models written here (the bundled one, plain and
compressed, the benchmark's tori and colliding parts, and shapes of the
tests), each drawn by varnel-thumbnailer, laid out by ImageMagick's montage
with their file names under them.

Usage: docs/thumbnail_folder.py BUILD_DIR [OUT.png]
"""

import math
import subprocess
import sys
import tempfile
from pathlib import Path

root = Path(__file__).resolve().parents[1]
sys.path[:0] = [str(root / "tests" / "app"), str(root / "bench")]
from model_files import box, material, mqo, mqoz, png, sphere  # noqa: E402
from varnel_bench import parts_model  # noqa: E402

SIDE = 128


def models(folder, build):
    """Writes the folder's model files; returns their paths in the order shown."""
    assets = root / "assets"
    bundled = (assets / "qemi_one.mqo").read_bytes()
    textures = {f"Texture/{p.name}": p.read_bytes() for p in (assets / "Texture").iterdir()}
    for name, content in textures.items():
        (folder / name).parent.mkdir(exist_ok=True)
        (folder / name).write_bytes(content)
    files = {"qemi_one.mqo": bundled, "packed.mqoz": mqoz({"qemi_one.mqo": bundled, **textures}),
             "crates.mqo": parts_model().encode()}
    subprocess.run([build / "bench" / "bench_model" / "make_bench_model", folder, "20000"], check=True,
                   capture_output=True)
    (folder / "bench-20000.mqo").rename(folder / "tori.mqo")
    glass = [box("seat", (10, 10, 10), (0, 15, 0), material=0), box("canopy", (30, 30, 30), (0, 15, 0), material=1)]
    files["canopy.mqo"] = mqo(glass, [material("red", (1, 0, 0), emi=0.3), material("glass", (0.7, 0.8, 1.0, 0.4))])
    files["globe.mqo"] = mqo([sphere("globe", 20, 16, 32)], [material("sea", (0.2, 0.45, 0.8), dif=0.9)],
                             extra="Scene {\r\n\thead -0.5\r\n\tpich 0.4\r\n}")
    check = [[(230, 190, 60, 255) if (x // 8 + y // 8) % 2 else (60, 40, 30, 255) for x in range(64)]
             for y in range(64)]
    (folder / "Texture" / "check.png").write_bytes(png(check))
    files["board.mqo"] = board()
    files["tower.mqo"] = tower()
    for name, content in files.items():
        (folder / name).write_bytes(content)
    return [folder / name for name in ("qemi_one.mqo", "packed.mqoz", "tori.mqo", "crates.mqo", "canopy.mqo",
                                       "globe.mqo", "board.mqo", "tower.mqo")]


def board():
    """A board in a textured frame, standing on a foot."""
    square = [(-20, 5, 0), (20, 5, 0), (20, 45, 0), (-20, 45, 0)]
    card = ("board", square, [((3, 2, 1, 0), 0, [(0, 0), (1, 0), (1, 1), (0, 1)])], [])
    foot = box("foot", (30, 5, 12), (0, 2.5, 0), material=1)
    return mqo([card, foot], ['"c" col(1 1 1 1) dif(0.8) amb(0.6) emi(0.3) spc(0) power(5) tex("check.png")',
                              material("wood", (0.45, 0.3, 0.2))],
               extra="Scene {\r\n\thead -0.4\r\n\tpich 0.2\r\n}")


def tower():
    """Blocks stacked, each turned a little more."""
    objects = []
    for level in range(8):
        name, vertices, faces, keys = box(f"block{level}", (30 - 2 * level, 6, 12), (0, 3 + 6 * level, 0),
                                          material=level % 3)
        turn = level * math.pi / 14
        turned = [(x * math.cos(turn) - z * math.sin(turn), y, x * math.sin(turn) + z * math.cos(turn))
                  for x, y, z in vertices]
        objects.append((name, turned, faces, keys))
    colours = [material("red", (0.85, 0.25, 0.2)), material("cream", (0.95, 0.9, 0.75)),
               material("teal", (0.2, 0.6, 0.6))]
    return mqo(objects, colours, extra="Scene {\r\n\thead -0.6\r\n\tpich 0.35\r\n}")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__.splitlines()[-1].strip())
    build = Path(sys.argv[1]).resolve()
    out = Path(sys.argv[2]) if len(sys.argv) == 3 else root / "docs" / "thumbnails.png"
    thumbnailer = build / "tools" / "thumbnailer" / "varnel-thumbnailer"
    with tempfile.TemporaryDirectory(prefix="varnel-folder-") as scratch:
        folder = Path(scratch)
        tiles = []
        for model in models(folder, build):
            picture = folder / f"{model.name}.png"
            subprocess.run([thumbnailer, "-s", str(SIDE), model, picture], check=True)
            tiles += ["-label", model.name, picture]
        subprocess.run(["montage", "-background", "#f6f5f4", "-fill", "#2e3436", "-font", "DejaVu-Sans",
                        "-pointsize", "13", *tiles, "-tile", "4x", "-geometry", f"{SIDE}x{SIDE}+28+18",
                        "-bordercolor", "#f6f5f4", "-border", "12", out], check=True)
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
