#include "render/display_lists.h"

#include <algorithm>
#include <cstddef>

#include "model/loaded_model.h"
#include "render/face_materials.h"
#include "render/list_pieces.h"

GLuint displayListIds[MAX_OBJECTS] = {};

namespace {

void compileObject(const ObjectRecord& object, bool useAlphaTest, ListPieces& pieces);
bool isDrawable(const FaceRecord& face, const ObjectRecord& object);
void emitFace(const FaceRecord& face, const ObjectRecord& object, bool textured, ListPieces& pieces);
void emitCorner(const FaceRecord& face, int32_t corner, const ObjectRecord& object, bool textured);

}  // namespace

void buildDisplayLists() {
    bool useAlphaTest = anyMaterialHasAlpha();
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        ListPieces pieces(i);
        compileObject(loadedObjects[i], useAlphaTest, pieces);
        pieces.finish();
    }
}

namespace {

void compileObject(const ObjectRecord& object, bool useAlphaTest, ListPieces& pieces) {
    if (useAlphaTest) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.5f);
    }
    const size_t faceCount = std::min(static_cast<size_t>(std::max(object.faceCount, 0)), object.faces.size());
    for (size_t first = 0; first < faceCount;) {
        if (!isDrawable(object.faces[first], object)) {
            ++first;
            continue;
        }
        const int32_t materialIndex = object.faces[first].materialIndex;
        const FaceMaterial material = materialOfFace(materialIndex);
        applyMaterial(material, materialIndex);
        pieces.beginTriangles();
        size_t end = first;
        for (; end < faceCount; ++end) {
            const FaceRecord& face = object.faces[end];
            if (!isDrawable(face, object)) continue;
            if (face.materialIndex != materialIndex) break;
            emitFace(face, object, material.textured, pieces);
        }
        pieces.endTriangles();
        if (material.textured) glDisable(GL_TEXTURE_2D);
        first = end;
    }
    if (useAlphaTest) glDisable(GL_ALPHA_TEST);
}

// A face of fewer than three corners covers nothing, and one whose corner
// names a vertex the object doesn't have is left out rather than drawn from
// memory past the object's vertices.
bool isDrawable(const FaceRecord& face, const ObjectRecord& object) {
    if (face.vertexCount < 3 || face.vertexCount > 4) return false;
    for (int32_t k = 0; k < face.vertexCount; ++k) {
        int32_t index = face.vertexIndex[k];
        if (index < 0 || static_cast<size_t>(index) >= object.vertices.size()) return false;
    }
    return true;
}

// The face as the fan of triangles from its first corner, the triangles a
// GL_POLYGON of the same corners is drawn as. NOTE: each triangle starts at
// its second corner, (k, k + 1, 0), in the order the renderer itself cuts a
// polygon: the colours it interpolates then round exactly as before.
void emitFace(const FaceRecord& face, const ObjectRecord& object, bool textured, ListPieces& pieces) {
    for (int32_t k = 1; k + 1 < face.vertexCount; ++k) {
        pieces.nextTriangle();
        emitCorner(face, k, object, textured);
        emitCorner(face, k + 1, object, textured);
        emitCorner(face, 0, object, textured);
    }
}

void emitCorner(const FaceRecord& face, int32_t corner, const ObjectRecord& object, bool textured) {
    // The texture holds its image transposed, so (u, v) goes as (v, u).
    if (textured) glTexCoord2f(face.uv[corner][1], face.uv[corner][0]);
    const VertexRecord& vertex = object.vertices[face.vertexIndex[corner]];
    glVertex3f(vertex.x, vertex.y, vertex.z);
}

}  // namespace
