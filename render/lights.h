// The three lights of the scene and the material the frame starts with.
#pragma once

// Light 0 is directional and fixed; the frame moves lights 1 and 2.
extern float light0Position[4];
extern float light1Position[4];
extern float light2Position[4];

// Gives lights 0, 1 and 2 their colours and light 0 its direction, sets the
// starting material and turns lighting on. Needs a current OpenGL context
// with the identity modelview matrix, which fixes light 0 to the eye.
void setupLights();
