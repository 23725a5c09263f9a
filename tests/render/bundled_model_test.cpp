// The model the viewer ships with: every texture it names (BMP, TGA, JPEG
// and a grey alpha plane) loads and uploads, and every object draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/display_lists.h"
#include "render/images/image_reader.h"
#include "tests/render/gl_readback.h"
#include "tests/render/model_fixture.h"

namespace {

// Fits every loaded vertex into the view, so no face is clipped.
void viewWholeModel() {
    float extent = 1;
    for (int32_t i = 0; i < loadedObjectCount(); ++i)
        for (const VertexRecord& v : loadedObjects[i].vertices)
            extent = std::max({extent, std::abs(v.x) + 1, std::abs(v.y) + 1, std::abs(v.z) + 1});
    viewBox(-extent, extent, -extent, extent, -extent, extent);
}

TEST(BundledModel, texturesLoadUploadAndEveryObjectDraws) {
    WorkingDirectory inAssets(VARNEL_ASSETS_DIR);
    testing::internal::CaptureStdout();
    ASSERT_EQ(loadModel("qemi_one.mqo"), 0);
    std::fill(std::begin(textureIds), std::end(textureIds), 0);
    setupTextures();
    buildDisplayLists();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    int kinds = 0;  // a bit per image kind
    for (int32_t m = 0; m < loadedMaterialCount(); ++m) {
        const MaterialRecord& material = loadedMaterials[m];
        if (material.tex.empty()) continue;
        SCOPED_TRACE(material.tex.c_str());
        ASSERT_EQ(material.hasTexture, 1);
        EXPECT_EQ(material.hasAlpha, int32_t{!material.aplane.empty()});
        kinds |= 1 << material.imageKind;
        // The upload took: the texture is as wide as the image is high.
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, textureIds[m]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, material.textureImage->height);
    }
    EXPECT_EQ(kinds, 0b110) << "wants a BMP and a TGA or JPEG texture";

    viewWholeModel();
    ASSERT_GT(loadedObjectCount(), 0);
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        // A face of n corners is fed back as n - 2 triangles.
        size_t triangles = 0;
        for (const FaceRecord& face : loadedObjects[i].faces) triangles += std::max(face.vertexCount - 2, 0);
        EXPECT_EQ(polygonsOf(displayListIds[i]).size(), triangles) << "object " << i;
    }
    releaseModel();
}

}  // namespace
