// The Scene chunk: the camera values saved with the model.
#include "mqo/chunk_readers.h"

void readSceneChunk(ChunkCursor& cursor, SceneRecord& scene) {
    const LineTokenizer& line = cursor.line();
    float heading = 0;
    float pitch = 0;
    bool angleSeen = false;
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
        } else {
            cursor.skipChunk();
        }
    }
    // A scene without angles keeps those of an earlier Scene chunk.
    if (angleSeen) {
        scene.angles[0] = heading;
        scene.angles[1] = pitch;
        scene.angles[2] = 0;
    }
}
