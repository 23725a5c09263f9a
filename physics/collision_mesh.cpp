#include "physics/collision_mesh.h"

#include <cmath>
#include <cstddef>
#include <future>
#include <thread>

// Model units to world units: a model 100 units tall stands 10 high.
constexpr float MODEL_TO_WORLD = 0.1f;
// Every body turns like a 10-unit box, whatever its mesh. A mesh reaching
// tens of thousands of units from its body (or holding an infinite or NaN
// coordinate) drives ODE's solver or hash space into an internal assertion
// that aborts the process; a triangle with a corner beyond this distance on
// any axis is left out instead. Model coordinates up to 10000 collide.
constexpr float MAX_WORLD_COORDINATE = 1000.0f;

float** meshVertices = nullptr;
int32_t** meshIndices = nullptr;
int32_t meshVertexCounts[MAX_OBJECTS];
int32_t meshFaceCounts[MAX_OBJECTS];
dTriMeshDataID meshData[MAX_OBJECTS];

namespace {

// How many objects the two tables of arrays were made for.
int32_t meshTableSize = 0;
// The thread building the meshes, and word from it that the arrays are
// filled, after which it no longer reads the loaded objects.
std::thread builder;
std::future<void> arraysFilled;

void fillArrays(int32_t count);
void buildMeshData(int32_t count);

void fillVertices(int32_t i, const ObjectRecord& object);
void fillTriangles(int32_t i, const ObjectRecord& object);
bool isCollisionTriangle(int32_t i, const int32_t corners[3]);
bool isCollisionCorner(const float* vertex);

}  // namespace

void startCollisionMeshes(int32_t count) {
    meshTableSize = count;
    std::promise<void> filled;
    arraysFilled = filled.get_future();
    builder = std::thread([count, filled = std::move(filled)]() mutable {
        dAllocateODEDataForThread(dAllocateMaskAll);
        fillArrays(count);
        filled.set_value();
        buildMeshData(count);
        dCleanupODEAllDataForThread();
    });
}

void waitForCollisionArrays() {
    if (arraysFilled.valid()) arraysFilled.wait();
}

void finishCollisionMeshes() {
    if (builder.joinable()) builder.join();
}

void destroyCollisionMeshData() {
    finishCollisionMeshes();
    for (int32_t i = 0; i < meshTableSize; ++i) {
        if (meshData[i] != nullptr) {
            dGeomTriMeshDataDestroy(meshData[i]);
            meshData[i] = nullptr;
        }
    }
}

void releaseCollisionArrays() {
    for (int32_t i = 0; i < meshTableSize; ++i) {
        delete[] meshIndices[i];
        delete[] meshVertices[i];
    }
    delete[] meshIndices;
    delete[] meshVertices;
    meshIndices = nullptr;
    meshVertices = nullptr;
    meshTableSize = 0;
}

namespace {

void fillArrays(int32_t count) {
    meshVertices = new float*[count];
    meshIndices = new int32_t*[count];
    for (int32_t i = 0; i < count; ++i) {
        fillVertices(i, loadedObjects[i]);
        fillTriangles(i, loadedObjects[i]);
    }
}

void buildMeshData(int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        meshData[i] = nullptr;
        // ODE asserts on a mesh built from no triangles.
        if (meshFaceCounts[i] == 0) continue;
        meshData[i] = dGeomTriMeshDataCreate();
        dGeomTriMeshDataBuildSingle(meshData[i], meshVertices[i], 3 * sizeof(float), meshVertexCounts[i],
                                    meshIndices[i], 3 * meshFaceCounts[i], 3 * sizeof(int32_t));
    }
}

void fillVertices(int32_t i, const ObjectRecord& object) {
    meshVertexCounts[i] = object.vertexCount;
    float* vertices = new float[3 * static_cast<size_t>(object.vertexCount)];
    for (int32_t v = 0; v < object.vertexCount; ++v) {
        const VertexRecord& vertex = object.vertices[v];
        vertices[3 * v] = vertex.x * MODEL_TO_WORLD;
        vertices[3 * v + 1] = vertex.y * MODEL_TO_WORLD;
        vertices[3 * v + 2] = vertex.z * MODEL_TO_WORLD;
    }
    meshVertices[i] = vertices;
}

// NOTE: only a face's first three corners make its triangle, so a
// four-sided face collides as half of itself, and a face of fewer corners
// takes vertex 0 for the missing ones.
void fillTriangles(int32_t i, const ObjectRecord& object) {
    int32_t* indices = new int32_t[3 * static_cast<size_t>(object.faceCount)];
    int32_t kept = 0;
    for (const FaceRecord& face : object.faces) {
        if (!isCollisionTriangle(i, face.vertexIndex)) continue;
        for (int k = 0; k < 3; ++k) indices[3 * kept + k] = face.vertexIndex[k];
        ++kept;
    }
    meshIndices[i] = indices;
    meshFaceCounts[i] = kept;
}

// A corner naming no vertex of the object would make ODE read past the
// vertex array.
bool isCollisionTriangle(int32_t i, const int32_t corners[3]) {
    for (int k = 0; k < 3; ++k)
        if (corners[k] < 0 || corners[k] >= meshVertexCounts[i] ||
            !isCollisionCorner(meshVertices[i] + 3 * static_cast<size_t>(corners[k])))
            return false;
    return true;
}

bool isCollisionCorner(const float* vertex) {
    for (int k = 0; k < 3; ++k) {
        // Written so that a NaN fails too.
        if (!(std::fabs(vertex[k]) <= MAX_WORLD_COORDINATE)) return false;
    }
    return true;
}

}  // namespace
