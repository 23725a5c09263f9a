"""Small model files written by the tests themselves."""

HEADER = b"Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n"

CORNERS = [(-1, -1, -1), (1, -1, -1), (1, 1, -1), (-1, 1, -1),
           (-1, -1, 1), (1, -1, 1), (1, 1, 1), (-1, 1, 1)]
SIDES = [(0, 3, 2, 1), (4, 5, 6, 7), (0, 1, 5, 4), (3, 7, 6, 2), (0, 4, 7, 3), (1, 2, 6, 5)]


def box_object(name, half, material=0, offset_x=0):
    lines = [f'Object "{name}" {{', f"\tvertex {len(CORNERS)} {{"]
    lines += [f"\t\t{x * half + offset_x} {y * half} {z * half}" for x, y, z in CORNERS]
    lines += ["\t}", f"\tface {len(SIDES)} {{"]
    lines += [f"\t\t4 V({a} {b} {c} {d}) M({material})" for a, b, c, d in SIDES]
    lines += ["\t}", "}"]
    return "\r\n".join(lines).encode() + b"\r\n"


def material_chunk(*materials):
    lines = [f"Material {len(materials)} {{"] + [f"\t{m}" for m in materials] + ["}"]
    return "\r\n".join(lines).encode() + b"\r\n"


# Green whatever the lights do: the emission alone makes it green, and the
# display lists send no normals for the lights to work on reliably.
GREEN = '"green" col(0.000 1.000 0.000 1.000) dif(0.800) amb(0.600) emi(0.800) spc(0.000) power(5.00)'
YELLOW = '"yellow" col(1.000 1.000 0.000 1.000) dif(0.800) amb(0.600) emi(0.800) spc(0.000) power(5.00)'
HALF_GREEN = '"glass" col(0.000 1.000 0.000 0.500) dif(1.000) amb(0.600) emi(0.800) spc(0.000) power(5.00)'


def green_box(half=20, offset_x=0):
    """A box that is drawn offset_x model units beside its body's place."""
    return HEADER + material_chunk(GREEN) + box_object("box", half, 0, offset_x) + b"Eof\r\n"


def green_and_yellow_boxes(half=15, apart=60):
    """Two objects, and so two bodies: green on the left, yellow on the right."""
    return (HEADER + material_chunk(GREEN, YELLOW) + box_object("left", half, 0, -apart)
            + box_object("right", half, 1, apart) + b"Eof\r\n")


def see_through_box(half=20):
    return HEADER + material_chunk(HALF_GREEN) + box_object("glass", half) + b"Eof\r\n"


def empty_model():
    return HEADER + b"Eof\r\n"
