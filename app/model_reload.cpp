#include "app/model_reload.h"

#include <GL/glut.h>

#include <cstdio>

#include "app/file_watch.h"
#include "app/model_scene.h"
#include "app/named_model.h"
#include "app/view_state.h"
#include "model/console_text.h"
#include "model/model_archive.h"
#include "model/model_file.h"
#include "model/user_messages.h"
#include "physics/physics_world.h"
#include "render/textures.h"

namespace {

void reloadModel();

}  // namespace

void watchModel() {
    std::vector<std::filesystem::path> files{modelSettings.path};
    files.insert(files.end(), textureFiles().begin(), textureFiles().end());
    watchFiles(files);
}

void reloadModelWhenSaved() {
    if (watchedFilesSettled()) reloadModel();
}

namespace {

// The model is read whole before anything of the old one goes.
void reloadModel() {
    const std::string& path = modelSettings.path;
    std::string problem;
    FILE* file = openModelFile(path.c_str(), &problem);
    if (file == nullptr) {
        tellUser("cannot open '" + printableName(path) + "': " + problem, MessageKind::ReadFailure);
        return;
    }
    if (!readNamedModel(file, path)) return;
    forgetReadFailure();
    releaseModelScene();
    setupTextures();
    if (!viewState.texturesShown) showTextures(false);
    buildModelScene();
    initPhysics();
    watchModel();
    glutPostRedisplay();
}

}  // namespace
