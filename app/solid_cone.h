// A solid cone drawn as GLUT draws one, for pictures drawn where GLUT can't
// run: the same corners, normals and strips, so that it looks the same lit
// or flat.
#pragma once

// Along +z: a base of radius `base` at z = 0, closed by a disc facing -z,
// and the tip at z = `height`; `slices` corners around, `stacks` bands from
// the base to the tip.
void drawConeOfOurOwn(double base, double height, int slices, int stacks);
