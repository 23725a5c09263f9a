// The Scene chunk: the camera values saved with the model.
#include "mqo/model_document.h"

void ModelDocument::readSceneChunk() {
    SceneRecord& scene = data_.scene;
    float heading = 0;
    float pitch = 0;
    bool angleSeen = false;
    for (;;) {
        readChunkLine();
        if (reader_.keywordIs("}", 1)) break;
        if (reader_.keywordIs("pos", 4)) {
            scene.pos = pointAt(1);
        } else if (reader_.keywordIs("lookat", 4)) {
            scene.lookat = pointAt(1);
        } else if (reader_.keywordIs("head", 2)) {
            heading = static_cast<float>(reader_.floatAt(1));
            angleSeen = true;
        } else if (reader_.keywordIs("pich", 2)) {
            pitch = static_cast<float>(reader_.floatAt(1));
            angleSeen = true;
        } else if (reader_.keywordIs("amb", 4)) {
            Point3 ambient = pointAt(1);
            scene.amb[0] = ambient.x;
            scene.amb[1] = ambient.y;
            scene.amb[2] = ambient.z;
        } else {
            skipChunk(reader_.tokenCount());
        }
    }
    // A scene without angles keeps those of an earlier Scene chunk.
    if (angleSeen) {
        scene.angles[0] = heading;
        scene.angles[1] = pitch;
        scene.angles[2] = 0;
    }
}
