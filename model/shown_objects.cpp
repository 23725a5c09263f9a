#include "model/shown_objects.h"

#include <algorithm>
#include <new>
#include <span>

#include "model/console_text.h"
#include "model/curved_surface.h"
#include "model/lathe_surface.h"
#include "model/loaded_model.h"
#include "model/object_mesh.h"
#include "model/projected_uvs.h"

namespace {

// A visible object that is lathed or curved, with its counts.
struct Shaped {
    size_t index;
    int64_t copies;
    int32_t askedSteps;
    int32_t askedLevel;
    LatheTally lathe;
};

int32_t fittingSteps(const std::vector<Shaped>& shaped, int32_t asked, int64_t maxTriangles);
int32_t fittingLevel(const std::vector<Shaped>& shaped, int32_t steps, int32_t asked, int64_t maxTriangles);
int64_t shapedTriangles(const std::vector<Shaped>& shaped, int32_t steps, int32_t level);
int64_t latheOnlyTriangles(const Shaped& object, int32_t steps);
FaceTally controlOf(const Shaped& object, int32_t steps);
std::string stepsText(int32_t steps);
std::string roundsText(int32_t rounds);
std::string cutBackNote(const char* what, const std::string& shown, const std::string& asked, int64_t maxTriangles);
void replaceGeometry(ObjectRecord& object, ObjectRecord&& shown);
std::string objectNote(const ObjectRecord& object, const std::string& text);

}  // namespace

ShapePlan planShapes(const std::vector<const ObjectRecord*>& objects, int64_t maxTriangles) {
    ShapePlan plan;
    plan.objects.resize(objects.size());
    std::vector<Shaped> shaped;
    int32_t askedSteps = 0, askedLevel = 0;
    for (size_t i = 0; i < objects.size(); ++i) {
        const ObjectRecord& object = *objects[i];
        const int32_t steps = latheSteps(object), level = curvedLevel(object);
        if (object.visible == 0 || (steps == 0 && level == 0)) continue;
        shaped.push_back({i, static_cast<int64_t>(drawnCopies(object)), steps, level,
                          steps > 0 ? tallyLathe(object) : LatheTally{tallyFaces(object), {}}});
        askedSteps = std::max(askedSteps, steps);
        askedLevel = std::max(askedLevel, level);
    }
    const int32_t steps = askedSteps > 0 ? fittingSteps(shaped, askedSteps, maxTriangles) : 0;
    const int32_t level = askedLevel > 0 ? fittingLevel(shaped, steps, askedLevel, maxTriangles) : 0;
    if (steps < askedSteps) {
        plan.notes.push_back(
            steps > 0 ? cutBackNote("lathes", stepsText(steps), std::to_string(askedSteps), maxTriangles)
                      : cutBackNote("lathes", "left as their profile lines", stepsText(askedSteps), maxTriangles));
    }
    if (level < askedLevel) {
        plan.notes.push_back(
            level > 0
                ? cutBackNote("curved surfaces", roundsText(level), std::to_string(askedLevel), maxTriangles)
                : cutBackNote("curved surfaces", "shown as their control cages", roundsText(askedLevel), maxTriangles));
    }
    for (const Shaped& object : shaped) {
        ShownShape& shape = plan.objects[object.index];
        shape.latheSteps = std::min(object.askedSteps, steps);
        shape.askedLevel = object.askedLevel;
        shape.level = std::min(object.askedLevel, level);
        const int64_t own = shape.askedLevel > 0 ? refinedTriangleCount(controlOf(object, steps), shape.level)
                                                 : controlOf(object, steps).triangles;
        shape.triangles = saturatingProduct(own, object.copies);
    }
    return plan;
}

std::string makeShownObject(ObjectRecord& object, const ShownShape& shape, std::span<const MaterialRecord> materials) {
    std::string refusal;
    if (shape.latheSteps > 0) replaceGeometry(object, latheSurface(object, shape.latheSteps));
    if (shape.level > 0) {
        CurvedSurface surface = refineCurvedSurface(object, shape.level);
        refusal = surface.refusal;
        if (refusal.empty()) replaceGeometry(object, std::move(surface.refined));
    }
    projectTextureCoordinates(object, materials);
    return refusal;
}

ShapePlan planModelShapes(const ModelData& data) {
    std::vector<const ObjectRecord*> objects;
    for (const ObjectRecord& object : data.objects) {
        if (objects.size() == MAX_OBJECTS) break;
        objects.push_back(&object);
    }
    return planShapes(objects);
}

std::vector<std::string> makeShownObjects(int64_t maxTriangles) {
    std::vector<const ObjectRecord*> objects;
    for (int32_t i = 0; i < loadedObjectCount(); ++i) objects.push_back(&loadedObjects[i]);
    const ShapePlan plan = planShapes(objects, maxTriangles);
    std::vector<std::string> notes = plan.notes;
    const std::span<const MaterialRecord> materials(loadedMaterials, loadedMaterialCount());
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        ObjectRecord& object = loadedObjects[i];
        if (object.visible == 0) continue;
        try {
            const std::string refusal = makeShownObject(object, plan.objects[i], materials);
            if (!refusal.empty()) {
                notes.push_back(objectNote(
                    object, "its curved surface cannot be made (" + refusal + "), so its control cage is shown"));
            }
        } catch (const std::bad_alloc&) {
            notes.push_back(objectNote(object, "not enough memory to make the whole of its shape"));
        }
    }
    return notes;
}

namespace {

// The most steps, down to MIN_LATHE_STEPS, whose lathe surfaces stay under
// the limit; 0 when even the fewest do not.
int32_t fittingSteps(const std::vector<Shaped>& shaped, int32_t asked, int64_t maxTriangles) {
    const auto made = [&](int32_t steps) {
        int64_t sum = 0;
        for (const Shaped& object : shaped)
            if (object.askedSteps > 0)
                sum = saturatingSum(sum, saturatingProduct(latheOnlyTriangles(object, steps), object.copies));
        return sum;
    };
    for (int32_t steps = asked; steps >= MIN_LATHE_STEPS; --steps)
        if (made(steps) <= maxTriangles) return steps;
    return 0;
}

// The most rounds whose curved surfaces, with the lathes that are not
// curved, stay under the limit; 0, the cages, when not even one round does.
int32_t fittingLevel(const std::vector<Shaped>& shaped, int32_t steps, int32_t asked, int64_t maxTriangles) {
    for (int32_t level = asked; level >= 1; --level)
        if (shapedTriangles(shaped, steps, level) <= maxTriangles) return level;
    return 0;
}

int64_t shapedTriangles(const std::vector<Shaped>& shaped, int32_t steps, int32_t level) {
    int64_t sum = 0;
    for (const Shaped& object : shaped) {
        const int64_t own = object.askedLevel > 0
                                ? refinedTriangleCount(controlOf(object, steps), std::min(object.askedLevel, level))
                                : latheOnlyTriangles(object, steps);
        sum = saturatingSum(sum, saturatingProduct(own, object.copies));
    }
    return sum;
}

int64_t latheOnlyTriangles(const Shaped& object, int32_t steps) {
    return object.lathe.surface(std::min(object.askedSteps, steps)).triangles;
}

// The faces the object shows before any refinement: with its lathe surface
// when it is turned.
FaceTally controlOf(const Shaped& object, int32_t steps) {
    const int32_t own = std::min(object.askedSteps, steps);
    return own > 0 ? object.lathe.whole(own) : object.lathe.others;
}

std::string stepsText(int32_t steps) {
    return "turned in " + std::to_string(steps) + " steps";
}

std::string roundsText(int32_t rounds) {
    return "refined " + (rounds == 1 ? std::string("once") : std::to_string(rounds) + " times");
}

std::string cutBackNote(const char* what, const std::string& shown, const std::string& asked, int64_t maxTriangles) {
    return std::string(what) + " " + shown + " instead of " + asked + ", to stay under " +
           std::to_string(maxTriangles) + " triangles";
}

void replaceGeometry(ObjectRecord& object, ObjectRecord&& shown) {
    object.vertices = std::move(shown.vertices);
    object.faces = std::move(shown.faces);
    object.vertexCount = shown.vertexCount;
    object.faceCount = shown.faceCount;
    object.patch = 0;
    object.lathe = 0;
}

std::string objectNote(const ObjectRecord& object, const std::string& text) {
    return "object \"" + convertText(object.name.view(), modelSettings.codeset, "UTF-8") + "\": " + text;
}

}  // namespace
