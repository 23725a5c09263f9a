"""A PNG file read back as rows of (r, g, b, a) pixels, with ImageMagick's
convert, and the comparison the offscreen pictures are held to."""

import re
import subprocess


class RgbaPicture:
    def __init__(self, path):
        pam = subprocess.run(["convert", str(path), "-depth", "8", "-alpha", "on", "pam:-"], capture_output=True,
                             check=True).stdout
        header = re.match(rb"P7\nWIDTH (\d+)\nHEIGHT (\d+)\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", pam)
        if not header:
            raise AssertionError(f"{path} is not an 8-bit picture")
        self.width, self.height = int(header[1]), int(header[2])
        data = pam[header.end():]
        self.pixels = list(zip(data[0::4], data[1::4], data[2::4], data[3::4]))

    def at(self, x, y):
        return self.pixels[y * self.width + x]

    def covered(self):
        """Positions (x, y) of the pixels something is drawn on."""
        return [(i % self.width, i // self.width) for i, p in enumerate(self.pixels) if p[3] > 0]


def share_unlike(first, second, tolerance=8):
    """The share of pixels in which some channel differs by more than
    `tolerance`; pictures of different sizes are wholly unlike."""
    if (first.width, first.height) != (second.width, second.height):
        return 1.0
    unlike = sum(1 for p, q in zip(first.pixels, second.pixels) if max(abs(a - b) for a, b in zip(p, q)) > tolerance)
    return unlike / len(first.pixels)
