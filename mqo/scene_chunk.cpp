// The Scene chunk: the camera values saved with the model, and in a model
// reading its directional lights.
#include "mqo/chunk_readers.h"

namespace {

void readDirectionalLights(ChunkCursor& cursor, SceneRecord& scene);
SceneLight readLight(ChunkCursor& cursor);

}  // namespace

void readSceneChunk(ChunkCursor& cursor, SceneRecord& scene) {
    const LineTokenizer& line = cursor.line();
    const bool modelReading = cursor.mode() == ReadingMode::Model;
    float heading = 0;
    float pitch = 0;
    bool angleSeen = false;
    scene.present = true;
    for (;;) {
        cursor.readChunkLine("the Scene chunk");
        if (line.keywordIs("}", 1)) break;
        if (line.keywordIs("pos", 4)) {
            scene.pos = cursor.pointAt(1);
        } else if (line.keywordIs("lookat", 4)) {
            scene.lookat = cursor.pointAt(1);
        } else if (line.keywordIs("head", 2)) {
            heading = static_cast<float>(line.floatAt(1));
            angleSeen = true;
        } else if (line.keywordIs("pich", 2)) {
            pitch = static_cast<float>(line.floatAt(1));
            angleSeen = true;
        } else if (line.keywordIs("amb", 4)) {
            Point3 ambient = cursor.pointAt(1);
            scene.amb[0] = ambient.x;
            scene.amb[1] = ambient.y;
            scene.amb[2] = ambient.z;
            scene.ambientGiven = true;
        } else if (modelReading && line.keywordIs("dirlights", 2) && cursor.lastTokenIs("{")) {
            readDirectionalLights(cursor, scene);
        } else {
            cursor.skipChunk();
        }
    }
    // A scene without angles keeps those of an earlier Scene chunk.
    if (angleSeen) {
        scene.angles[0] = heading;
        scene.angles[1] = pitch;
        scene.angles[2] = 0;
        scene.anglesGiven = true;
    }
}

namespace {

// `dirlights N {` holds `light {` blocks; the count on its head is not
// needed. A later dirlights block replaces an earlier one's lights.
void readDirectionalLights(ChunkCursor& cursor, SceneRecord& scene) {
    const LineTokenizer& line = cursor.line();
    scene.lights.clear();
    for (;;) {
        if (cursor.readChunkLine("the dirlights block") == 0) continue;
        if (line.keywordIs("}", 1)) return;
        if (line.keywordIs("light", 2) && cursor.lastTokenIs("{")) {
            const SceneLight light = readLight(cursor);
            if (scene.lights.size() < MAX_SCENE_LIGHTS) scene.lights.push_back(light);
        } else {
            cursor.skipChunk();
        }
    }
}

// A light without a `dir` shines along the view, one without a `color` is
// white.
SceneLight readLight(ChunkCursor& cursor) {
    const LineTokenizer& line = cursor.line();
    SceneLight light{{0, 0, 1}, {1, 1, 1}};
    for (;;) {
        if (cursor.readChunkLine("the light block") == 0) continue;
        if (line.keywordIs("}", 1)) return light;
        if (line.keywordIs("dir", 4))
            light.direction = cursor.pointAt(1);
        else if (line.keywordIs("color", 4))
            light.colour = cursor.pointAt(1);
        else
            cursor.skipChunk();
    }
}

}  // namespace
