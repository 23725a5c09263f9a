// Objects built in memory for the physics tests, and a fixture that makes
// them the loaded model, builds the world and releases it all afterwards.
#pragma once

#include <vector>

#include <gtest/gtest.h>

#include "model_files.h"
#include "physics/bodies.h"
#include "physics/collision_mesh.h"
#include "physics/physics_world.h"

// A cube centred on its origin, `half` model units from centre to side, as
// twelve triangles.
ObjectRecord cubeObject(float half);
ObjectRecord objectOf(std::vector<VertexRecord> vertices, std::vector<std::vector<int32_t>> faces);

class PhysicsTest : public ::testing::Test {
protected:
    void TearDown() override;
    // As a successful read of a model made of these objects would leave it.
    void simulate(const std::vector<ObjectRecord>& objects);
    void steps(int count);
    double height(int32_t i) const { return dBodyGetPosition(bodyTable[i].body)[2]; }
};
