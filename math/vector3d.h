// A point or translation in double precision, as the view arithmetic uses it.
#pragma once

struct Vector3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};
