// The model the viewer ships with: every texture it names (BMP, TGA, JPEG
// and a grey alpha plane) loads and uploads, and every object draws.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <vector>

#include "model/loaded_model.h"
#include "render/display_lists.h"
#include "render/images/image_reader.h"
#include "render/textures.h"
#include "tests/render/model_fixture.h"

namespace {

// Fits the model's bounding box into the view so no face is clipped.
void viewWholeModel() {
    float low[3] = {FLT_MAX, FLT_MAX, FLT_MAX}, high[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        for (const VertexRecord& v : loadedObjects[i].vertices) {
            float xyz[3] = {v.x, v.y, v.z};
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], xyz[c]);
                high[c] = std::max(high[c], xyz[c]);
            }
        }
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(low[0] - 1, high[0] + 1, low[1] - 1, high[1] + 1, -high[2] - 1, -low[2] + 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Triangles Mesa feeds back for one list: a face of n corners gives n - 2.
int trianglesDrawnBy(GLuint list) {
    std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    GLint used = glRenderMode(GL_RENDER);
    int triangles = 0;
    for (GLint at = 0; at < used; at += 2 + 3 * static_cast<int>(buffer[at + 1])) {
        if (buffer[at] != GL_POLYGON_TOKEN) return -1;
        ++triangles;
    }
    return triangles;
}

int trianglesOf(const ObjectRecord& object) {
    int triangles = 0;
    for (const FaceRecord& face : object.faces) triangles += std::max(face.vertexCount - 2, 0);
    return triangles;
}

TEST(BundledModel, texturesLoadUploadAndEveryObjectDraws) {
    WorkingDirectory inAssets(VARNEL_ASSETS_DIR);
    testing::internal::CaptureStdout();
    ASSERT_EQ(loadModel("qemi_one.mqo"), 0);
    ASSERT_GT(loadedObjectCount(), 0);
    std::fill(std::begin(textureIds), std::end(textureIds), 0);
    setupTextures();
    buildDisplayLists();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    bool kinds[3] = {false, false, false};
    bool anyAlpha = false;
    for (int32_t m = 0; m < loadedMaterialCount(); ++m) {
        const MaterialRecord& material = loadedMaterials[m];
        SCOPED_TRACE(material.tex);
        if (material.tex[0] == '\0') continue;
        ASSERT_EQ(material.hasTexture, 1);
        ASSERT_NE(textureIds[m], 0u);
        glBindTexture(GL_TEXTURE_2D, textureIds[m]);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, material.textureImage->height);
        EXPECT_EQ(height, material.textureImage->width);
        kinds[material.imageKind] = true;
        if (material.aplane[0] != '\0') {
            EXPECT_EQ(material.hasAlpha, 1);
            anyAlpha = true;
        }
    }
    EXPECT_TRUE(kinds[1]) << "no BMP texture";
    EXPECT_TRUE(kinds[2]) << "no TGA or JPEG texture";
    EXPECT_TRUE(anyAlpha);

    viewWholeModel();
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        EXPECT_EQ(trianglesDrawnBy(displayListIds[i]), trianglesOf(loadedObjects[i])) << "object " << i;
    }
    releaseModel();
}

}  // namespace
