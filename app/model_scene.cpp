#include "app/model_scene.h"

#include <GL/gl.h>

#include "app/body_picking.h"
#include "app/view_state.h"
#include "model/console_text.h"
#include "model/loaded_model.h"
#include "model/model_layout.h"
#include "model/object_mesh.h"
#include "model/shown_objects.h"
#include "model/user_messages.h"
#include "physics/model_bodies.h"
#include "physics/physics_world.h"
#include "render/display_lists.h"
#include "render/list_pieces.h"
#include "render/model_lights.h"
#include "render/model_lists.h"
#include "render/textures.h"
#include "render/translucent_faces.h"

ModelCounts modelCounts;

namespace {

ViewDirection savedViewDirection(const SceneRecord& scene);

}  // namespace

// Curved surfaces, lathes and projections are made first, so that all that
// follows works on the shapes seen. Each object's triangles are made once
// and serve its display list and its body's collision points. Faces are lit
// from both sides, since modellers' files mix the two windings and show a
// face's back as readily as its front.
void buildModelScene() {
    for (const std::string& note : makeShownObjects()) tellUser(printableName(modelSettings.path) + ": " + note);
    layOutModel();
    const Bounds& bounds = modelLayout.bounds;
    if (!bounds.empty()) {
        const Vector3d low{bounds.min.x, bounds.min.y, bounds.min.z}, high{bounds.max.x, bounds.max.y, bounds.max.z};
        // A model read anew keeps the camera the user has set up.
        if (viewState.framed)
            keepFramedBox(viewState, low, high, savedViewDirection(loadedScene()));
        else
            frameView(viewState, low, high, savedViewDirection(loadedScene()));
    }
    setupModelLights(loadedScene());
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glFrontFace(GL_CW);
    modelCounts = {};
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        if (modelLayout.bodyOfObject[i] < 0) continue;
        const ObjectMesh mesh = buildObjectMesh(loadedObjects[i]);
        modelCounts.objects += 1;
        modelCounts.vertices += loadedObjects[i].vertexCount;
        modelCounts.faces += loadedObjects[i].faceCount;
        modelCounts.triangles += static_cast<int64_t>(mesh.triangles.size());
        compileModelList(i, mesh);
        collectBodyPoints(i, mesh);
        releaseGeometry(loadedObjects[i]);
    }
}

// The world goes with its bodies; whether it was paused stays.
void releaseModelScene() {
    const bool paused = physicsWorld.paused;
    destroyPhysics();
    forgetPickedBody();
    physicsWorld.paused = paused;
    glDeleteLists(1, MAX_OBJECTS);
    releaseListPieces();
    releaseTextures();
    for (TranslucentFaces& faces : translucentFaces) faces.clear();
}

namespace {

// The modeller saves the view a model was last looked at from; a file
// without one is seen from the modeller's own starting view.
ViewDirection savedViewDirection(const SceneRecord& scene) {
    if (!scene.anglesGiven) return DEFAULT_VIEW_DIRECTION;
    return {scene.angles[0], scene.angles[1]};
}

}  // namespace
