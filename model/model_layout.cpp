#include "model/model_layout.h"

#include <algorithm>
#include <cmath>

namespace {

// The bundled demo draws its objects about 180 units corner to corner and
// drops them from 150 units up: a model of that size in the world falls and
// bounces the way the demo looks.
constexpr double WORLD_DIAGONAL = 180.0;

double diagonalOf(const Bounds& bounds);

}  // namespace

ModelLayout modelLayout;

void layOutModel() {
    ModelLayout layout;
    Bounds objectBounds[MAX_OBJECTS];
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        layout.bodyOfObject[i] = -1;
        if (loadedObjects[i].visible == 0) continue;
        objectBounds[i] = meshBounds(loadedObjects[i]);
        layout.bounds.add(objectBounds[i]);
    }
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        if (objectBounds[i].empty()) continue;
        if (modelSettings.separateParts || layout.bodyCount == 0) {
            const Bounds& bounds = modelSettings.separateParts ? objectBounds[i] : layout.bounds;
            layout.bodyBounds[layout.bodyCount] = bounds;
            layout.bodyCentre[layout.bodyCount] = bounds.centre();
            ++layout.bodyCount;
        }
        layout.bodyOfObject[i] = layout.bodyCount - 1;
    }
    const double diagonal = diagonalOf(layout.bounds);
    layout.worldScale = diagonal > 0 ? WORLD_DIAGONAL / diagonal : 1.0;
    if (!layout.bounds.empty()) {
        const Point3 centre = layout.bounds.centre();
        layout.anchor = {centre.x, layout.bounds.min.y, centre.z};
    }
    modelLayout = layout;
}

double modelRadius() {
    const double diagonal = diagonalOf(modelLayout.bounds);
    return diagonal > 0 ? diagonal / 2 : 1.0;
}

Vector3d worldOffsetOf(const Vector3d& drawnOffset) {
    const double scale = modelLayout.worldScale;
    return {drawnOffset.x * scale, -drawnOffset.z * scale, drawnOffset.y * scale};
}

Vector3d worldPointOf(const Vector3d& drawn) {
    const Point3& anchor = modelLayout.anchor;
    return worldOffsetOf({drawn.x - anchor.x, drawn.y - anchor.y, drawn.z - anchor.z});
}

Vector3d drawnPointOf(const Vector3d& world) {
    const double toModel = 1.0 / modelLayout.worldScale;
    const Point3& anchor = modelLayout.anchor;
    return {anchor.x + world.x * toModel, anchor.y + world.z * toModel, anchor.z - world.y * toModel};
}

namespace {

double diagonalOf(const Bounds& bounds) {
    if (bounds.empty()) return 0;
    const double dx = bounds.max.x - bounds.min.x, dy = bounds.max.y - bounds.min.y, dz = bounds.max.z - bounds.min.z;
    const double diagonal = std::sqrt(dx * dx + dy * dy + dz * dz);
    return std::isfinite(diagonal) ? diagonal : 0;
}

}  // namespace
