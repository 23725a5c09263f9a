#include "physics/body_contacts.h"

#include <ode/ode.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "physics/bodies.h"
#include "physics/body_hulls.h"
#include "physics/model_bodies.h"
#include "physics/physics_world.h"

namespace {

// A box resting on another has four corners in it; a rounder hull a few
// more. Past this many, the deepest hold it.
constexpr size_t MAX_BODY_CONTACTS = 16;

struct BodyShape {
    BodyHull hull;
    double reach = 0;
};

// NOTE: made whole before the first geometry, since each geometry reads its
// hull's arrays where they lie for as long as it lives.
std::vector<BodyShape> bodyShapes;

void touchingPair(void* data, dGeomID first, dGeomID second);
void cornersInside(int32_t body, int32_t other, std::vector<dContactGeom>& found);
void addContacts(int32_t body, int32_t other, std::vector<dContactGeom> found);
std::vector<double> boxCorners(const BodyEntry& entry);

}  // namespace

void addBodyShape(int32_t body, const BlockedPoints& points) {
    if (physicsWorld.bodySpace == nullptr) physicsWorld.bodySpace = dHashSpaceCreate(nullptr);
    if (bodyShapes.empty()) bodyShapes.resize(MAX_OBJECTS);
    BodyEntry& entry = bodyTable[body];
    BodyShape& shape = bodyShapes[body];
    shape.hull = hullOfPoints(points);
    if (shape.hull.empty()) shape.hull = hullOfCorners(boxCorners(entry));
    shape.reach = hullReach(shape.hull);
    const BodyHull& hull = shape.hull;
    entry.geom = dCreateConvex(physicsWorld.bodySpace, hull.planes.data(), hull.planes.size() / 4, hull.corners.data(),
                               hull.corners.size() / 3, hull.sides.data());
    dGeomSetData(entry.geom, reinterpret_cast<void*>(static_cast<intptr_t>(body)));
    dGeomSetBody(entry.geom, entry.body);
}

void addBodyContacts() {
    if (physicsWorld.bodySpace != nullptr) dSpaceCollide(physicsWorld.bodySpace, nullptr, touchingPair);
}

const BodyHull* bodyHull(int32_t body) {
    if (static_cast<size_t>(body) >= bodyShapes.size() || bodyShapes[body].hull.empty()) return nullptr;
    return &bodyShapes[body].hull;
}

void destroyBodyShapes() {
    if (physicsWorld.bodySpace != nullptr) dSpaceDestroy(physicsWorld.bodySpace);
    physicsWorld.bodySpace = nullptr;
    bodyShapes.clear();
    bodyShapes.shrink_to_fit();
}

namespace {

void touchingPair(void*, dGeomID first, dGeomID second) {
    const auto bodyOf = [](dGeomID geom) {
        return static_cast<int32_t>(reinterpret_cast<intptr_t>(dGeomGetData(geom)));
    };
    const int32_t one = bodyOf(first), two = bodyOf(second);
    std::vector<dContactGeom> intoTwo, intoOne;
    cornersInside(one, two, intoTwo);
    cornersInside(two, one, intoOne);
    if (intoTwo.empty() && intoOne.empty()) {
        dContactGeom crossing;
        if (dCollide(first, second, 1, &crossing, sizeof crossing) == 1) intoTwo.push_back(crossing);
    }
    addContacts(one, two, std::move(intoTwo));
    addContacts(two, one, std::move(intoOne));
}

// Each corner of `body` inside `other`, as a contact that pushes `body`
// out along the normal of the side of `other` it lies nearest.
void cornersInside(int32_t body, int32_t other, std::vector<dContactGeom>& found) {
    const dBodyID id = bodyTable[body].body, otherId = bodyTable[other].body;
    const BodyShape& shape = bodyShapes[body];
    const BodyShape& otherShape = bodyShapes[other];
    const std::vector<dReal>& planes = otherShape.hull.planes;
    for (size_t c = 0; c < shape.hull.corners.size(); c += 3) {
        const dReal* corner = &shape.hull.corners[c];
        dVector3 world, there;
        dBodyGetRelPointPos(id, corner[0], corner[1], corner[2], world);
        dBodyGetPosRelPoint(otherId, world[0], world[1], world[2], there);
        if (there[0] * there[0] + there[1] * there[1] + there[2] * there[2] > otherShape.reach * otherShape.reach)
            continue;
        double nearest = -dInfinity;
        size_t side = 0;
        for (size_t p = 0; p < planes.size() && nearest < 0; p += 4) {
            const double height =
                planes[p] * there[0] + planes[p + 1] * there[1] + planes[p + 2] * there[2] - planes[p + 3];
            if (height > nearest) {
                nearest = height;
                side = p;
            }
        }
        if (nearest >= 0) continue;
        dContactGeom contact{};
        std::copy_n(world, 3, contact.pos);
        dBodyVectorToWorld(otherId, planes[side], planes[side + 1], planes[side + 2], contact.normal);
        contact.depth = -nearest;
        found.push_back(contact);
    }
}

// The contacts push `body` along their normals and `other` the other way.
void addContacts(int32_t body, int32_t other, std::vector<dContactGeom> found) {
    if (found.size() > MAX_BODY_CONTACTS) {
        std::nth_element(found.begin(), found.begin() + MAX_BODY_CONTACTS, found.end(),
                         [](const dContactGeom& a, const dContactGeom& b) { return a.depth > b.depth; });
        found.resize(MAX_BODY_CONTACTS);
    }
    for (const dContactGeom& point : found) {
        dContact contact{};
        contact.surface = bodySurface();
        contact.geom = point;
        dJointID joint = dJointCreateContact(physicsWorld.world, physicsWorld.contactGroup, &contact);
        dJointAttach(joint, bodyTable[body].body, bodyTable[other].body);
    }
}

std::vector<double> boxCorners(const BodyEntry& entry) {
    std::vector<double> corners;
    for (int c = 0; c < 8; ++c)
        corners.insert(corners.end(), {(c & 1 ? 0.5 : -0.5) * entry.sizeX, (c & 2 ? 0.5 : -0.5) * entry.sizeY,
                                       (c & 4 ? 0.5 : -0.5) * entry.sizeZ});
    return corners;
}

}  // namespace
