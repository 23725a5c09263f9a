"""Model files written by the tests: objects as lists of vertices and faces,
and the shapes the model-mode cases drop."""

import io
import math
import struct
import zipfile
import zlib


def mqo(objects, materials=(), header="Format Text Ver 1.0", extra="", encoding="utf-8"):
    """A model file. Each object is (name, vertices, faces, keys): faces are
    (corners, material), (corners, material, uvs) or (corners, material,
    uvs or None, colours), colours as the numbers the file holds; keys are
    the object's own lines, such as "mirror 1"."""
    lines = ["Metasequoia Document", header, extra]
    if materials:
        lines += [f"Material {len(materials)} {{", *[f"\t{m}" for m in materials], "}"]
    for name, vertices, faces, keys in objects:
        lines += [f'Object "{name}" {{', *[f"\t{key}" for key in keys], f"\tvertex {len(vertices)} {{"]
        lines += [f"\t\t{x:g} {y:g} {z:g}" for x, y, z in vertices]
        lines += ["\t}", f"\tface {len(faces)} {{"]
        for corners, material, *groups in faces:
            uvs, colours = (groups + [None, None])[:2]
            line = f"\t\t{len(corners)} V({' '.join(map(str, corners))})"
            line += f" M({material})" if material is not None else ""
            line += f" UV({' '.join(f'{u:g} {v:g}' for u, v in uvs)})" if uvs else ""
            line += f" COL({' '.join(map(str, colours))})" if colours else ""
            lines.append(line)
        lines += ["\t}", "}"]
    return "\r\n".join(lines + ["Eof", ""]).encode(encoding)


def material(name, colour, dif=0.8, amb=0.6, emi=0.0, extra=""):
    """A material line; `colour` is (r, g, b) or (r, g, b, a)."""
    r, g, b, a = (*colour, 1)[:4]
    return f'"{name}" col({r} {g} {b} {a}) dif({dif}) amb({amb}) emi({emi}) spc(0) power(5) {extra}'


# A box's corners, x fastest, and its six sides, clockwise seen from outside.
BOX_CORNERS = [(x, y, z) for z in (-1, 1) for y in (-1, 1) for x in (-1, 1)]
BOX_SIDES = [(0, 1, 3, 2), (4, 6, 7, 5), (0, 4, 5, 1), (2, 3, 7, 6), (0, 2, 6, 4), (1, 5, 7, 3)]


def box(name, size, centre=(0, 0, 0), material=0, keys=()):
    """An axis-aligned box of `size` (x, y, z) around `centre`."""
    vertices = [tuple(c + s / 2 * k for c, s, k in zip(centre, size, corner)) for corner in BOX_CORNERS]
    return (name, vertices, [(side, material) for side in BOX_SIDES], list(keys))


def sphere(name, radius, rings, segments, material=0, keys=()):
    """A UV sphere of `rings` bands and `segments` slices; its faces at the
    poles are triangles."""
    def point(ring, segment):
        polar, around = math.pi * ring / rings, 2 * math.pi * segment / segments
        return (radius * math.sin(polar) * math.cos(around), radius * math.cos(polar),
                radius * math.sin(polar) * math.sin(around))
    vertices = [(0, radius, 0), *[point(r, s) for r in range(1, rings) for s in range(segments)], (0, -radius, 0)]

    def at(ring, segment):
        return 0 if ring == 0 else len(vertices) - 1 if ring == rings else 1 + (ring - 1) * segments + segment % segments
    faces = [(tuple(dict.fromkeys((at(r, s), at(r, s + 1), at(r + 1, s + 1), at(r + 1, s)))), material)
             for r in range(rings) for s in range(segments)]
    return (name, vertices, faces, list(keys))


def png(rows):
    """An 8-bit RGBA PNG of `rows`, each a list of (r, g, b, a)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def dxt1(colours, choices):
    """A 4 x 4 DDS picture of one DXT1 block: two 5:6:5 colours and a choice
    of 0 to 3 for each pixel, top row first. With the first colour not above
    the second, choice 3 is see-through."""
    header = struct.pack("<7I", 124, 0x100F, 4, 4, 0, 0, 1) + bytes(44)
    header += struct.pack("<2I", 32, 4) + b"DXT1" + bytes(20) + struct.pack("<5I", 0x1000, 0, 0, 0, 0)
    return b"DDS " + header + struct.pack("<2HI", *colours, sum(c << 2 * i for i, c in enumerate(choices)))


def mqoz(files):
    """A zip archive of `files` (name: bytes), each deflated, as the modeller
    writes a compressed model."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, content in files.items():
            archive.writestr(name, content)
    return out.getvalue()
