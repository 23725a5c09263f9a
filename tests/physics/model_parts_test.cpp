// Model mode's bodies against each other and under the pointer: hulls that
// hold their points, parts that rest on one another, rays that find the
// body as it is drawn, and a body held, dragged and thrown.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/model_layout.h"
#include "physics/bodies.h"
#include "physics/body_hold.h"
#include "physics/body_hulls.h"
#include "physics/model_bodies.h"
#include "physics/physics_world.h"
#include "tests/model/model_files.h"

namespace {

ObjectRecord boxObject(Point3 centre, Point3 size) {
    std::vector<VertexRecord> corners;
    for (int c = 0; c < 8; ++c)
        corners.push_back({centre.x + (c & 1 ? 0.5f : -0.5f) * size.x, centre.y + (c & 2 ? 0.5f : -0.5f) * size.y,
                           centre.z + (c & 4 ? 0.5f : -0.5f) * size.z});
    std::vector<FaceRecord> faces;
    for (auto [a, b, c, d] :
         {std::array{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}})
        faces.push_back(makeFace({a, b, c, d}));
    return makeObject(corners, faces);
}

BlockedPoints blocksOf(const std::vector<std::array<float, 3>>& points) {
    std::vector<float> offsets;
    for (const auto& p : points) offsets.insert(offsets.end(), p.begin(), p.end());
    return groupIntoBlocks(offsets, 1e-6);
}

double along(const dReal* plane, const float* point) {
    return plane[0] * point[0] + plane[1] * point[1] + plane[2] * point[2] - plane[3];
}

class ModelParts : public ::testing::Test {
protected:
    void TearDown() override {
        destroyPhysics();
        resetLoadedModel();
        modelSettings = ModelSettings{};
    }
    // The objects dropped each as a body of its own, as model mode starts.
    static void drop(const std::vector<ObjectRecord>& objects, bool parts = true) {
        modelSettings.mode = ViewerMode::Model;
        modelSettings.separateParts = parts;
        installModel(objects);
        layOutModel();
        for (int32_t i = 0; i < loadedObjectCount(); ++i) collectBodyPoints(i, buildObjectMesh(loadedObjects[i]));
        initPhysics();
    }
    static void steps(int count) {
        for (int step = 0; step < count; ++step) stepPhysics();
    }
    static Vector3d position(int32_t body) {
        const dReal* p = dBodyGetPosition(bodyTable[body].body);
        return {p[0], p[1], p[2]};
    }
    // How far apart two bodies' origins are in model units, along the model's up axis.
    static double heightBetween(int32_t lower, int32_t upper) {
        return (position(upper).z - position(lower).z) / modelLayout.worldScale;
    }
};

// A box keeps its corners, its sides whole and turning outwards; a ball of
// many corners becomes one of at most MAX_HULL_CORNERS of its own points,
// with every point of it inside or close to the hull; points spanning no
// volume have none.
TEST(BodyHulls, holdTheirPointsWithFewCorners) {
    std::vector<std::array<float, 3>> box;
    for (int c = 0; c < 27; ++c) box.push_back({float(c % 3) - 1, 2.0f * (c / 3 % 3) - 2, 0.5f * (c / 9) - 0.5f});
    const BlockedPoints boxPoints = blocksOf(box);
    const BodyHull boxHull = hullOfPoints(boxPoints);
    EXPECT_EQ(boxHull.corners.size(), 3u * 8);
    ASSERT_EQ(boxHull.planes.size(), 4u * 6);
    for (size_t side = 0, at = 0; side < 6; ++side, at += 1 + boxHull.sides[at]) {
        ASSERT_EQ(boxHull.sides[at], 4u);
        const dReal* plane = &boxHull.planes[4 * side];
        const auto corner = [&](int k) {
            return &boxHull.corners[3 * boxHull.sides[at + 1 + k]];
        };
        const dReal *a = corner(0), *b = corner(1), *c = corner(2);
        const double turn = plane[0] * ((b[1] - a[1]) * (c[2] - a[2]) - (b[2] - a[2]) * (c[1] - a[1])) +
                            plane[1] * ((b[2] - a[2]) * (c[0] - a[0]) - (b[0] - a[0]) * (c[2] - a[2])) +
                            plane[2] * ((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]));
        EXPECT_GT(turn, 0) << "side " << side;
        for (size_t p = 0; p < box.size(); ++p) EXPECT_LE(along(plane, box[p].data()), 1e-9);
    }

    std::vector<std::array<float, 3>> ball;
    for (int k = 0; k < 5000; ++k) {
        const double z = 1 - (2 * k + 1) / 5000.0, around = 2.399963 * k, r = std::sqrt(1 - z * z);
        ball.push_back({float(5 * r * std::cos(around)), float(5 * r * std::sin(around)), float(5 * z)});
    }
    const BodyHull ballHull = hullOfPoints(blocksOf(ball));
    EXPECT_LE(ballHull.corners.size(), 3u * MAX_HULL_CORNERS);
    EXPECT_GE(ballHull.corners.size(), 3u * MAX_HULL_CORNERS * 3 / 4);
    for (size_t side = 0; side < ballHull.planes.size() / 4; ++side)
        for (const auto& point : ball) ASSERT_LE(along(&ballHull.planes[4 * side], point.data()), 0.5);

    EXPECT_TRUE(hullOfPoints(blocksOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0.5f, 0.2f, 0}})).empty());
    EXPECT_TRUE(hullOfPoints(blocksOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})).empty());
    EXPECT_TRUE(hullOfPoints(blocksOf({})).empty());
}

// Without the hulls the top box would fall through the bottom one to the
// ground.
TEST_F(ModelParts, stackedPartsFallAndStayStacked) {
    drop({boxObject({0, 5, 0}, {40, 10, 40}), boxObject({3, 16, -2}, {20, 10, 20})});
    steps(600);
    EXPECT_NEAR(heightBetween(0, 1), 10.0, 0.1);
    EXPECT_NEAR(position(0).z / modelLayout.worldScale, 5.0, 0.05);
    // Whole, the same model is one body, which nothing else meets.
    TearDown();
    drop({boxObject({0, 5, 0}, {40, 10, 40}), boxObject({3, 16, -2}, {20, 10, 20})}, false);
    steps(600);
    EXPECT_EQ(modelLayout.bodyCount, 1);
    EXPECT_NEAR(position(0).z / modelLayout.worldScale, 10.5, 0.01);
}

// Two boxes side by side, 20 model units wide with 20 between them, where
// they start: a ray finds the nearer along its way, at the side it enters,
// on the boxes as drawn at twice their size too.
TEST_F(ModelParts, raysFindTheNearestBodyWhereItsDrawnSurfaceFacesThem) {
    drop({boxObject({-20, 0, 0}, {20, 20, 20}), boxObject({20, 0, 0}, {20, 20, 20})});
    const double unit = modelLayout.worldScale;
    const Vector3d left = position(0), right = position(1);
    const Vector3d down{0, 0, -1};
    for (double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        const auto hit = firstBodyHit({right.x + 5 * unit, right.y, right.z + 100 * unit}, down, scale);
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->body, 1);
        EXPECT_NEAR(hit->point.x, right.x + 5 * unit, 1e-5);
        EXPECT_NEAR(hit->point.z, right.z + 10 * unit * scale, 1e-5);
        EXPECT_NEAR(hit->distance, (100 - 10 * scale) * unit, 1e-5);
        // Between the two, only the one drawn larger is met.
        EXPECT_EQ(firstBodyHit({0, 0, left.z + 100 * unit}, down, scale).has_value(), scale > 1.5);
    }
    // From the right, through both: the right one first.
    const auto through = firstBodyHit({right.x + 100 * unit, right.y, right.z}, {-1, 0, 0}, 1.0);
    ASSERT_TRUE(through);
    EXPECT_EQ(through->body, 1);
    EXPECT_NEAR(through->point.x, right.x + 10 * unit, 1e-5);
    EXPECT_FALSE(firstBodyHit({right.x, right.y, right.z + 100 * unit}, {0, 0, 1}, 1.0));
    EXPECT_FALSE(firstBodyHit({right.x, right.y, right.z + 100 * unit}, down, 0.0));
}

// Held near a corner, a body follows the pointer and hangs from it; let go,
// it flies on at the speed it was thrown with.
TEST_F(ModelParts, aHeldBodyFollowsItsPointAndFliesOnWhenThrown) {
    drop({boxObject({-20, 0, 0}, {20, 20, 20}), boxObject({20, 0, 0}, {20, 20, 20})});
    steps(200);
    const double unit = modelLayout.worldScale;
    for (double scale : {1.0, 1.5}) {
        SCOPED_TRACE(scale);
        const Vector3d start = position(1);
        const auto hit =
            firstBodyHit({start.x + 6 * unit, start.y + 6 * unit, start.z + 100 * unit}, {0, 0, -1}, scale);
        ASSERT_TRUE(hit);
        // The point found as drawn, in the body's own frame.
        dVector3 own;
        dBodyGetPosRelPoint(bodyTable[1].body, hit->point.x, hit->point.y, hit->point.z, own);
        holdBody(*hit);
        EXPECT_EQ(heldBody(), 1);
        // Lifted and carried aside 1 model unit a step, as a pointer moves.
        Vector3d target = hit->point;
        for (int step = 0; step < 60; ++step) {
            target.x += (step % 3 == 0 ? 1 : 0) * unit;
            target.z += (step % 3 == 0 ? 1 : 2) * unit;
            dragHeldBody(target);
            stepPhysics();
        }
        steps(150);
        const Vector3d centre = position(1);
        dVector3 reach;
        dBodyVectorToWorld(bodyTable[1].body, own[0], own[1], own[2], reach);
        const Vector3d drawn{centre.x + reach[0], centre.y + reach[1], centre.z + reach[2]};
        EXPECT_LT(std::hypot(drawn.x - target.x, drawn.y - target.y, drawn.z - target.z), 0.05 * unit);
        // Hanging from near a corner, it has all but stopped swinging, with its
        // origin below the point held.
        EXPECT_GT(target.z - centre.z, 10 * unit * scale);
        EXPECT_LT(std::hypot(centre.x - target.x, centre.y - target.y), 0.05 * (target.z - centre.z));
        throwHeldBody({20 * unit, 0, 5 * unit});
        EXPECT_EQ(heldBody(), -1);
        EXPECT_EQ(dBodyGetNumJoints(bodyTable[1].body), 0);
        const dReal* velocity = dBodyGetLinearVel(bodyTable[1].body);
        EXPECT_EQ(std::vector<dReal>(velocity, velocity + 3), (std::vector<dReal>{20 * unit, 0, 5 * unit}));
        stepPhysics();
        EXPECT_NEAR(position(1).x - centre.x, 2 * unit, 0.01 * unit);
        steps(300);
    }
}

}  // namespace
