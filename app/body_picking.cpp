#include "app/body_picking.h"

#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/startup.h"
#include "app/view_state.h"
#include "model/loaded_model.h"
#include "model/model_layout.h"
#include "physics/physics_world.h"

namespace {

// The pointer's speed is taken over the last this many real milliseconds
// before it lets go, or since the body was picked when that was sooner, but
// over a tick at least.
constexpr int THROW_MS = 50;
// Simulated seconds per real one, when the ticks keep time.
constexpr double SIMULATED_PER_REAL = STEP_SIZE * 1000.0 / TICK_MS;

struct BodyFrame {
    double modelview[16] = {};
    double projection[16] = {};
    int viewport[4] = {0, 0, 1, 1};
    double scale = 1;
    bool drawn = false;
};

struct PointerSample {
    // GLUT's clock, in real milliseconds.
    int time = 0;
    Vector3d target;
};

struct Picking {
    bool buttonTaken = false;
    // The window depth of the point held, which fixes the plane facing the
    // camera that the pointer drags it in.
    double depth = 0;
    // Where the pointer has dragged the held point, in the world, and when,
    // oldest first.
    std::vector<PointerSample> samples;
    int32_t lastPicked = -1;
    // What followedDrift returned last, and what it adds to the drift since
    // a body was last held.
    Vector3d followed;
    Vector3d unfollowed;
    bool wasHeld = false;
};

BodyFrame bodyFrame;
Picking picking;

std::optional<Vector3d> worldAt(double x, double y, double depth);
void pick(int x, int y);
void dragTo(int x, int y);
void letGo();
std::vector<PointerSample>::const_reverse_iterator lastBeforeThrow(const std::vector<PointerSample>& samples, int now);
Vector3d pointerAt(int time, const PointerSample& then, const PointerSample& next);
Vector3d minus(const Vector3d& a, const Vector3d& b);

}  // namespace

void rememberBodyFrame() {
    glGetDoublev(GL_MODELVIEW_MATRIX, bodyFrame.modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, bodyFrame.projection);
    glGetIntegerv(GL_VIEWPORT, bodyFrame.viewport);
    bodyFrame.scale = viewState.modelScale;
    bodyFrame.drawn = true;
}

std::optional<BodyHit> bodyUnder(int x, int y) {
    if (!bodyFrame.drawn) return std::nullopt;
    const std::optional<Vector3d> near = worldAt(x, y, 0), far = worldAt(x, y, 1);
    if (!near || !far) return std::nullopt;
    const Vector3d way = minus(*far, *near);
    const double length = std::hypot(way.x, way.y, way.z);
    if (!(length > 0)) return std::nullopt;
    return firstBodyHit(*near, {way.x / length, way.y / length, way.z / length}, bodyFrame.scale);
}

bool pickingTakesLeftButton(bool down, bool ctrl, int x, int y) {
    if (down && ctrl && inModelMode()) {
        pick(x, y);
        return true;
    }
    if (down || !picking.buttonTaken) return false;
    letGo();
    return true;
}

bool pickingTakesDrag(int x, int y) {
    if (!picking.buttonTaken) return false;
    dragTo(x, y);
    return true;
}

void forgetPickedBody() {
    picking.lastPicked = -1;
}

int32_t bodyToPush() {
    return std::max(picking.lastPicked, 0);
}

Vector3d followedDrift(const Vector3d& drift) {
    const bool held = heldBody() >= 0;
    if (held || picking.wasHeld) picking.unfollowed = minus(picking.followed, drift);
    picking.wasHeld = held;
    if (!held) {
        picking.followed = {drift.x + picking.unfollowed.x, drift.y + picking.unfollowed.y,
                            drift.z + picking.unfollowed.z};
    }
    return picking.followed;
}

namespace {

// The world point at window pixel (x, y) counted from the top left, at
// window depth `depth`: 0 on the near plane, 1 on the far one.
std::optional<Vector3d> worldAt(double x, double y, double depth) {
    const int* viewport = bodyFrame.viewport;
    Vector3d drawn;
    if (gluUnProject(x + 0.5, viewport[1] + viewport[3] - y - 0.5, depth, bodyFrame.modelview, bodyFrame.projection,
                     viewport, &drawn.x, &drawn.y, &drawn.z) != GL_TRUE)
        return std::nullopt;
    return worldPointOf(drawn);
}

void pick(int x, int y) {
    picking.buttonTaken = true;
    const std::optional<BodyHit> hit = bodyUnder(x, y);
    if (!hit) return;
    const Vector3d drawn = drawnPointOf(hit->point);
    double window[3];
    gluProject(drawn.x, drawn.y, drawn.z, bodyFrame.modelview, bodyFrame.projection, bodyFrame.viewport, &window[0],
               &window[1], &window[2]);
    picking.depth = window[2];
    picking.samples = {{glutGet(GLUT_ELAPSED_TIME), hit->point}};
    picking.lastPicked = hit->body;
    holdBody(*hit);
}

void dragTo(int x, int y) {
    if (heldBody() < 0) return;
    const std::optional<Vector3d> target = worldAt(x, y, picking.depth);
    if (!target) return;
    dragHeldBody(*target);
    std::vector<PointerSample>& samples = picking.samples;
    const int now = glutGet(GLUT_ELAPSED_TIME);
    samples.push_back({now, *target});
    // The newest sample old enough to measure the speed from, and those after it.
    const auto firstKept = lastBeforeThrow(samples, now);
    if (firstKept != samples.rend()) samples.erase(samples.begin(), std::prev(firstKept.base()));
}

// NOTE: a tick of TICK_MS real milliseconds steps the world by a tenth of a
// simulated second, so the pointer's speed is scaled by as much: the body
// flies on as fast as it was carried.
void letGo() {
    picking.buttonTaken = false;
    if (heldBody() < 0) return;
    const std::vector<PointerSample>& samples = picking.samples;
    const int now = glutGet(GLUT_ELAPSED_TIME);
    const auto before = lastBeforeThrow(samples, now);
    Vector3d from = samples.front().target;
    int milliseconds = std::max(now - samples.front().time, static_cast<int>(TICK_MS));
    if (before != samples.rend()) {
        // The drag after it, or itself when none came since.
        const auto after = before == samples.rbegin() ? before : std::prev(before);
        from = pointerAt(now - THROW_MS, *before, *after);
        milliseconds = THROW_MS;
    }
    const double seconds = milliseconds * SIMULATED_PER_REAL / 1000.0;
    const Vector3d moved = minus(samples.back().target, from);
    throwHeldBody({moved.x / seconds, moved.y / seconds, moved.z / seconds});
    picking.samples.clear();
}

// The newest sample from THROW_MS or more before `now`, or rend.
std::vector<PointerSample>::const_reverse_iterator lastBeforeThrow(const std::vector<PointerSample>& samples, int now) {
    return std::find_if(samples.rbegin(), samples.rend(),
                        [now](const PointerSample& sample) { return sample.time <= now - THROW_MS; });
}

// Where the pointer was at `time`, from the drag `then` before it to the
// drag `next` after it. NOTE: a drag's time is when the viewer took it, and
// drags that waited for a slow frame come all at once: the pointer is taken
// to have moved evenly from one drag to the next.
Vector3d pointerAt(int time, const PointerSample& then, const PointerSample& next) {
    if (next.time <= then.time) return next.target;
    const double share = static_cast<double>(time - then.time) / (next.time - then.time);
    const Vector3d way = minus(next.target, then.target);
    return {then.target.x + share * way.x, then.target.y + share * way.y, then.target.z + share * way.z};
}

Vector3d minus(const Vector3d& a, const Vector3d& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

}  // namespace
