#include "app/model_frame.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <ode/ode.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/body_picking.h"
#include "app/frame.h"
#include "app/light_orbit.h"
#include "app/scenery.h"
#include "app/view_state.h"
#include "model/loaded_model.h"
#include "model/model_layout.h"
#include "physics/bodies.h"
#include "render/lights.h"
#include "render/list_pieces.h"
#include "render/model_lights.h"
#include "render/translucent_faces.h"

namespace {

void lookAtModel(const ViewState& view);
void placeOrbitingLightsAtModel(float light1[4], float light2[4]);
void turnAboutCentre(const ViewState& view);
void drawOpaqueObjects();
void drawTranslucentObjects();
void drawWireframe(bool alone);
GLuint lineColourTexture(bool alone);
void placeObject(int32_t object);
Point3 eyeInObject(const double modelview[16]);
Vector3d modelDrift();
void applyBodyTransform(int32_t body);

}  // namespace

void drawModelFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Over a clear background the model stands alone: the gradient, the
    // ground with its shadows and the corner axes are the viewer's stage,
    // and a shadow with no ground under it reads as a smudge on whatever
    // lies behind the picture.
    const bool onStage = !viewState.clearBackground;
    if (onStage) drawBackground();
    glLoadIdentity();
    applyViewOffset();
    const Vector3d drift = modelDrift();
    followModel(viewState, followedDrift(drift));
    const ViewState& view = viewState;

    // The orbiting lights circle in the camera's frame: they do not turn
    // with the view. The orbit goes on while they are off.
    advanceLightOrbit(lightOrbit);
    showOrbitingLights(view.orbitingLightsShown);
    if (view.orbitingLightsShown) {
        glPushMatrix();
        lookAtModel(view);
        placeOrbitingLights(lightOrbit, light1Position, light2Position);
        placeOrbitingLightsAtModel(light1Position, light2Position);
        drawLightMarker(GL_LIGHT1, light1Position);
        drawLightMarker(GL_LIGHT2, light2Position);
        glEnable(GL_LIGHTING);
        glPopMatrix();
    }

    turnAboutCentre(view);
    lookAtModel(view);
    if (onStage && view.groundShown) drawGround(drift);
    rememberBodyFrame();
    if (view.wireframe != Wireframe::Alone) {
        drawOpaqueObjects();
        drawTranslucentObjects();
    }
    if (view.wireframe != Wireframe::Off) drawWireframe(view.wireframe == Wireframe::Alone);
    if (onStage) drawCornerAxes();
}

namespace {

void lookAtModel(const ViewState& view) {
    gluLookAt(view.eye.x, view.eye.y, view.eye.z, view.center.x, view.center.y, view.center.z, view.up.x, view.up.y,
              view.up.z);
}

// The classic orbit, scaled to the model's size, around the model's middle.
void placeOrbitingLightsAtModel(float light1[4], float light2[4]) {
    const double centre[3] = {viewState.center.x, viewState.center.y, viewState.center.z};
    for (int axis = 0; axis < 3; ++axis) {
        light1[axis] = static_cast<float>(centre[axis] + light1[axis] * viewState.markerScale);
        light2[axis] = static_cast<float>(centre[axis] + light2[axis] * viewState.markerScale);
    }
}

// The view's turn, about the point the camera looks at and about the
// camera's own axes, whichever way the camera looks: a drag across the
// screen always turns the model about the screen's upright.
void turnAboutCentre(const ViewState& view) {
    const double dx = view.eye.x - view.center.x, dy = view.eye.y - view.center.y, dz = view.eye.z - view.center.z;
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    glTranslated(0.0, 0.0, -distance);
    glMultMatrixd(view.viewMatrix.m);
    glTranslated(0.0, 0.0, distance);
}

void drawOpaqueObjects() {
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        if (modelLayout.bodyOfObject[i] < 0) continue;
        glPushMatrix();
        placeObject(i);
        callObjectList(i);
        glPopMatrix();
    }
}

// Objects farthest first by their see-through faces' middle, each object's
// faces sorted for the eye as it sees them.
void drawTranslucentObjects() {
    struct Seen {
        double distance;
        int32_t object;
        Point3 eye;
    };
    std::vector<Seen> seen;
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        if (modelLayout.bodyOfObject[i] < 0 || translucentFaces[i].empty()) continue;
        double modelview[16];
        glPushMatrix();
        placeObject(i);
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glPopMatrix();
        const Point3 eye = eyeInObject(modelview);
        const Point3 centre = translucentFaces[i].centre();
        const double ex = eye.x - centre.x, ey = eye.y - centre.y, ez = eye.z - centre.z;
        seen.push_back({ex * ex + ey * ey + ez * ez, i, eye});
    }
    if (seen.empty()) return;
    std::stable_sort(seen.begin(), seen.end(), [](const Seen& a, const Seen& b) { return a.distance > b.distance; });
    beginTranslucentFaces();
    for (const Seen& object : seen) {
        glPushMatrix();
        placeObject(object.object);
        translucentFaces[object.object].draw(object.eye);
        glPopMatrix();
    }
    endTranslucentFaces();
}

// Every face's edges in one flat colour, light on the background when
// alone, dark over the model. NOTE: the display lists bind and enable their
// own textures, on the first texture unit; a second unit that replaces the
// colour with its one texel overrides whatever they set.
void drawWireframe(bool alone) {
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_TEXTURE_BIT);
    glDisable(GL_LIGHTING);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    if (!alone) {
        // The edges lie on their faces: drawn a hair nearer, they win.
        glEnable(GL_POLYGON_OFFSET_LINE);
        glPolygonOffset(-1.0f, -1.0f);
    }
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, lineColourTexture(alone));
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glActiveTexture(GL_TEXTURE0);
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        if (modelLayout.bodyOfObject[i] < 0) continue;
        glPushMatrix();
        placeObject(i);
        callObjectList(i);
        if (!translucentFaces[i].empty()) {
            double modelview[16];
            glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
            translucentFaces[i].draw(eyeInObject(modelview));
        }
        glPopMatrix();
    }
    glActiveTexture(GL_TEXTURE1);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glPopAttrib();
}

// A texture of one texel in each of the two line colours, made once.
GLuint lineColourTexture(bool alone) {
    static GLuint textures[2] = {0, 0};
    GLuint& texture = textures[alone ? 1 : 0];
    if (texture != 0) return texture;
    const GLubyte colours[2][4] = {{20, 30, 60, 255}, {205, 222, 255, 255}};
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, colours[alone ? 1 : 0]);
    return texture;
}

// Each visible object at its body's place and turn. A body's world frame is
// z-up in world units; the drawing is y-up in model units, with the model's
// anchor over the world's origin.
void placeObject(int32_t object) {
    const int32_t body = modelLayout.bodyOfObject[object];
    const float scale = viewState.modelScale;
    applyBodyTransform(body);
    glScalef(scale, scale, scale);
    const Point3& centre = modelLayout.bodyCentre[body];
    glTranslated(-centre.x, -centre.y, -centre.z);
}

// The eye, at the origin of the camera's frame, in the coordinates of an
// object drawn with `modelview`: a turn times a uniform scale, then a shift.
Point3 eyeInObject(const double modelview[16]) {
    const double* m = modelview;
    const double scaleSquared = m[0] * m[0] + m[1] * m[1] + m[2] * m[2];
    if (!(scaleSquared > 0)) return {};
    double eye[3];
    for (int axis = 0; axis < 3; ++axis) {
        const double* column = m + 4 * axis;
        eye[axis] = -(column[0] * m[12] + column[1] * m[13] + column[2] * m[14]) / scaleSquared;
    }
    return {static_cast<float>(eye[0]), static_cast<float>(eye[1]), static_cast<float>(eye[2])};
}

// How far across the ground the bodies have moved from where they were
// modelled, on average, in model units.
Vector3d modelDrift() {
    Vector3d drift;
    const double toModel = 1.0 / modelLayout.worldScale;
    for (int32_t body = 0; body < modelLayout.bodyCount; ++body) {
        const dReal* position = dBodyGetPosition(bodyTable[body].body);
        const Point3& centre = modelLayout.bodyCentre[body];
        drift.x += modelLayout.anchor.x + position[0] * toModel - centre.x;
        drift.z += modelLayout.anchor.z - position[1] * toModel - centre.z;
    }
    if (modelLayout.bodyCount > 0) {
        drift.x /= modelLayout.bodyCount;
        drift.z /= modelLayout.bodyCount;
    }
    return drift;
}

// World (x, y, z) is drawn at (x, z, -y) over the anchor, divided by the
// world scale; a turn R of the world is the turn Q^-1 R Q of the drawing,
// with Q the quarter turn from drawing to world.
void applyBodyTransform(int32_t body) {
    const dReal* position = dBodyGetPosition(bodyTable[body].body);
    const dReal* r = dBodyGetRotation(bodyTable[body].body);
    const double toModel = 1.0 / modelLayout.worldScale;
    const Point3& anchor = modelLayout.anchor;
    glTranslated(anchor.x + position[0] * toModel, anchor.y + position[2] * toModel, anchor.z - position[1] * toModel);
    // Rows of R are r[0..2], r[4..6], r[8..10]; the drawing's turn, column
    // by column as OpenGL takes it.
    const double turn[16] = {r[0], r[8], -r[4], 0, r[2], r[10], -r[6], 0, -r[1], -r[9], r[5], 0, 0, 0, 0, 1};
    glMultMatrixd(turn);
}

}  // namespace
