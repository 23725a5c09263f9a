#include "render/model_lights.h"

#include <GL/gl.h>

#include <algorithm>
#include <iterator>

namespace {

// The modeller's own light: from above and to the right of the camera,
// white, over a quarter of white.
constexpr SceneLight DEFAULT_LIGHT{{0.408f, 0.408f, 0.816f}, {1.0f, 1.0f, 1.0f}};
constexpr float DEFAULT_AMBIENT = 0.25f;
// Lights 1 and 2 orbit; the file's lights take the others.
constexpr GLenum FILE_LIGHTS[] = {GL_LIGHT0, GL_LIGHT3, GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};

void setLight(GLenum light, const SceneLight& values);

}  // namespace

void setupModelLights(const SceneRecord& scene) {
    const GLfloat ambient[] = {scene.ambientGiven ? scene.amb[0] : DEFAULT_AMBIENT,
                               scene.ambientGiven ? scene.amb[1] : DEFAULT_AMBIENT,
                               scene.ambientGiven ? scene.amb[2] : DEFAULT_AMBIENT, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    // Highlights are added after the texture, so a dark texture still
    // shines where the light meets it.
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    const size_t count = scene.lights.empty() ? 1 : std::min(scene.lights.size(), std::size(FILE_LIGHTS));
    for (size_t k = 0; k < std::size(FILE_LIGHTS); ++k) {
        if (k < count) {
            setLight(FILE_LIGHTS[k], scene.lights.empty() ? DEFAULT_LIGHT : scene.lights[k]);
            glEnable(FILE_LIGHTS[k]);
        } else {
            glDisable(FILE_LIGHTS[k]);
        }
    }
    showOrbitingLights(false);
}

void showOrbitingLights(bool shown) {
    if (shown) {
        glEnable(GL_LIGHT1);
        glEnable(GL_LIGHT2);
    } else {
        glDisable(GL_LIGHT1);
        glDisable(GL_LIGHT2);
    }
}

namespace {

// A directional light's position is the direction towards it.
void setLight(GLenum light, const SceneLight& values) {
    const GLfloat position[] = {values.direction.x, values.direction.y, values.direction.z, 0.0f};
    const GLfloat colour[] = {values.colour.x, values.colour.y, values.colour.z, 1.0f};
    const GLfloat black[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_DIFFUSE, colour);
    glLightfv(light, GL_SPECULAR, colour);
    glLightfv(light, GL_AMBIENT, black);
}

}  // namespace
