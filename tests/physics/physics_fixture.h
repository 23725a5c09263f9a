// Each physics test builds its own world from the objects it installs and
// releases everything, ODE included, when it ends.
#pragma once

#include <vector>

#include <gtest/gtest.h>

#include "model_files.h"
#include "physics/physics_world.h"
#include "test_objects.h"

class PhysicsTest : public ::testing::Test {
protected:
    void TearDown() override {
        releasePhysicsAndModel();
        resetLoadedModel();
    }

    void simulate(const std::vector<ObjectRecord>& objects) {
        installObjects(objects);
        initPhysics();
    }
};
