// The bundled model's texture pictures, drawn from formulas so that the
// generator reproduces them exactly.
#pragma once

#include "tools/bundled_model/picture_files.h"

// 64 x 64 wood with its grain running left to right, for the table.
Picture makeWoodPicture();
// 64 x 64 brick wall, for the house.
Picture makeBrickPicture();
// 128 x 128 round sign: a landscape inside a white and a red ring.
Picture makeSignPicture();
// 128 x 128 grey alpha plane that keeps the sign's disc and cuts the corners.
Picture makeSignCutout();
