#include <gtest/gtest.h>

#include "app/light_orbit.h"

namespace {

TEST(LightOrbit, eachFrameTurnsBothLightsOneDegreeAnd360FramesCloseTheOrbit) {
    Quaternion orbit;
    resetLightOrbit(orbit);
    advanceLightOrbit(orbit);
    float light1[4];
    float light2[4];
    placeOrbitingLights(orbit, light1, light2);
    const float expected1[3] = {24.9975f, 0.6329f, -0.2506f};
    const float expected2[3] = {-24.9975f, 0.6329f, 0.2506f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(light1[i], expected1[i], 1e-4) << "light 1, component " << i;
        EXPECT_NEAR(light2[i], expected2[i], 1e-4) << "light 2, component " << i;
    }
    EXPECT_EQ(light1[3], 1.0f);
    EXPECT_EQ(light2[3], 1.0f);

    for (int frame = 1; frame < 360; ++frame) advanceLightOrbit(orbit);
    EXPECT_NEAR(orbit.w, 0.0, 1e-9);
    EXPECT_NEAR(orbit.x, 25.0, 1e-6);
    EXPECT_NEAR(orbit.y, 0.0, 1e-6);
    EXPECT_NEAR(orbit.z, 0.0, 1e-6);
}

}  // namespace
