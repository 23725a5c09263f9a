// Model mode shows curved surfaces smooth, lathes as the surfaces they turn
// and projected materials with the coordinates their projections give.
// Once the model is read, each such object is replaced by the plain object
// it shows, so that framing, shading, mirrors, display lists and collision
// points all work on the shape seen. What curved surfaces and lathes make is
// held under a number of triangles for the whole model, counted first.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "mqo/records.h"

constexpr int64_t MAX_SHAPED_TRIANGLES = 4'000'000;

// What a visible object becomes; all zeros for a plain or hidden one.
struct ShownShape {
    int32_t latheSteps = 0;  // 0: not lathed
    int32_t level = 0;       // rounds of refinement; 0 shows a curved surface's cage
    int32_t askedLevel = 0;  // what its segment key asks for; 0: not curved
    int64_t triangles = 0;   // drawn, mirrored copies included

    // Whether the object is drawn as something else than its faces.
    bool shaped() const { return latheSteps > 0 || askedLevel > 0; }
};

struct ShapePlan {
    std::vector<ShownShape> objects;  // one per object planned
    // Each line says what was cut back to stay under the limit, such as
    // "curved surfaces refined 3 times instead of 5, to stay under 4000000
    // triangles".
    std::vector<std::string> notes;
};

// The steps and levels of these objects, as many as `maxTriangles` allows
// for all of them: lathes are turned in fewer steps first, if need be, then
// curved surfaces refined fewer rounds. The counts are exact for the shapes
// made.
ShapePlan planShapes(const std::vector<const ObjectRecord*>& objects, int64_t maxTriangles = MAX_SHAPED_TRIANGLES);

// Makes the object the plain object it shows, as `shape` plans, with the
// texture coordinates the projections of `materials` give its faces. Returns
// why its curved surface could not be made, when it could not: its cage is
// then kept. Throws std::bad_alloc.
std::string makeShownObject(ObjectRecord& object, const ShownShape& shape, std::span<const MaterialRecord> materials);

// The plan of the objects the viewer loads from `data`: its first
// MAX_OBJECTS.
ShapePlan planModelShapes(const ModelData& data);

// Replaces the loaded objects that are lathes or curved surfaces, or whose
// faces use a projected material, with the plain objects they show. Returns
// the lines to tell the user: the plan's notes, and each curved surface
// shown as its cage since its control mesh could not be refined. Object
// names are in UTF-8.
std::vector<std::string> makeShownObjects(int64_t maxTriangles = MAX_SHAPED_TRIANGLES);
