// An object of more triangles than a piece, read back in feedback mode: its
// own list and its pieces drawn a batch at a time draw the same triangles,
// all of them, in file order, each lit by the material set before the first.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "render/display_lists.h"
#include "render/list_pieces.h"
#include "tests/model/model_files.h"
#include "tests/render/window_view.h"

namespace {

// GL_3D_COLOR feedback: a polygon token, its corner count, then x, y, z and
// red, green, blue, alpha for each corner.
constexpr int FED_TRIANGLE = 2 + 3 * 7;

template <typename Draw>
std::vector<GLfloat> feedbackOf(Draw&& draw, size_t triangles) {
    std::vector<GLfloat> buffer(FED_TRIANGLE * (triangles + 1));
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    buffer.resize(used < 0 ? 0 : static_cast<size_t>(used));
    return buffer;
}

TEST(ListPieces, objectPastAPieceDrawsWholeInFileOrderUnderTheMaterialSetBeforeTheCut) {
    lookAtWindowCoordinates();
    glEnable(GL_LIGHTING);
    // Each triangle a little nearer than the one before, so that the order
    // shows in the depths fed back.
    const size_t triangles = 2 * PIECE_TRIANGLES + 5;
    std::vector<VertexRecord> vertices;
    std::vector<FaceRecord> faces;
    for (size_t t = 0; t < triangles; ++t) {
        const float z = -9.0f + 18.0f * static_cast<float>(t) / triangles;
        vertices.insert(vertices.end(), {{10, 10, z, 0}, {50, 10, z, 0}, {50, 50, z, 0}});
        const int32_t first = static_cast<int32_t>(3 * t);
        faces.push_back(makeFace({first, first + 1, first + 2}, 0));
    }
    MaterialRecord red = makeMaterial();
    red.col[1] = red.col[2] = 0.0f;
    installModel({makeObject(vertices, faces)}, {red});
    buildDisplayLists();

    const std::vector<GLfloat> whole = feedbackOf([] { glCallList(1); }, triangles);
    ASSERT_EQ(whole.size(), FED_TRIANGLE * triangles);
    float lastDepth = 2.0f;
    for (size_t t = 0; t < triangles; ++t) {
        const GLfloat* fed = &whole[FED_TRIANGLE * t];
        ASSERT_EQ(fed[0], GL_POLYGON_TOKEN);
        ASSERT_LT(fed[2 + 2], lastDepth) << "triangle " << t;
        lastDepth = fed[2 + 2];
        // Red, as the first triangle is: green and blue stay dark.
        ASSERT_GT(fed[2 + 3], 0.1f) << "triangle " << t;
        ASSERT_EQ(fed[2 + 4], whole[2 + 4]) << "triangle " << t;
        ASSERT_EQ(fed[2 + 5], whole[2 + 5]) << "triangle " << t;
    }
    EXPECT_LT(whole[2 + 4], 0.5f * whole[2 + 3]);
    EXPECT_EQ(feedbackOf([] { callObjectList(0); }, triangles), whole);
    // A model read anew starts with no pieces of the old one.
    releaseListPieces();
    EXPECT_TRUE(feedbackOf([] { callObjectList(0); }, triangles).empty());
    glDisable(GL_LIGHTING);
}

}  // namespace
