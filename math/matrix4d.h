// A 4 by 4 matrix in the element order glMultMatrixd takes: column-major, so
// element (row r, column c) sits at m[4 * c + r] and m[12..14] hold the
// translation.
#pragma once

struct Matrix4d {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};
