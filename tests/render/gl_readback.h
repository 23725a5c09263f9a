// What the GL tests read back from OpenGL: the current material and the
// polygons a display list draws.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

using Vec4 = std::array<float, 4>;

inline Vec4 material(GLenum parameter) {
    Vec4 value{};
    glGetMaterialfv(GL_FRONT, parameter, value.data());
    return value;
}

// A vertex as GL_4D_COLOR_TEXTURE feedback reports it.
struct FedVertex {
    float x, y, z, w, colour[4], s, t, r, q;
};
using Polygon = std::vector<FedVertex>;

// Replays `list` in feedback mode and returns the polygons it drew. Mesa
// feeds every polygon back as triangles: a quad comes back as a fan of two.
inline std::vector<Polygon> polygonsOf(GLuint list) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer too small";
    std::vector<Polygon> polygons;
    GLint at = 0;
    for (; at < used && buffer[at] == GL_POLYGON_TOKEN; at += 2 + 12 * static_cast<GLint>(buffer[at + 1])) {
        auto* first = reinterpret_cast<const FedVertex*>(&buffer[at + 2]);
        polygons.emplace_back(first, first + static_cast<int>(buffer[at + 1]));
    }
    EXPECT_GE(at, used) << "unexpected feedback token " << buffer[at];
    return polygons;
}

// An orthographic view of the box, with the identity as modelview matrix.
inline void viewBox(double left, double right, double bottom, double top, double zNear, double zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
