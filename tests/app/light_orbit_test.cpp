#include <gtest/gtest.h>

#include "app/light_orbit.h"

namespace {

TEST(LightOrbit, oneFrameTurnsBothLightsOneDegree)
{
    Quaternion orbit;
    resetLightOrbit(orbit);
    advanceLightOrbit(orbit);
    float light1[4];
    float light2[4];
    placeOrbitingLights(orbit, light1, light2);
    EXPECT_NEAR(light1[0], 24.9975, 1e-4);
    EXPECT_NEAR(light1[1], 0.6329, 1e-4);
    EXPECT_NEAR(light1[2], -0.2506, 1e-4);
    EXPECT_EQ(light1[3], 1.0f);
    EXPECT_NEAR(light2[0], -24.9975, 1e-4);
    EXPECT_NEAR(light2[1], 0.6329, 1e-4);
    EXPECT_NEAR(light2[2], 0.2506, 1e-4);
    EXPECT_EQ(light2[3], 1.0f);
}

TEST(LightOrbit, threeHundredSixtyFramesCloseTheOrbit)
{
    Quaternion orbit;
    resetLightOrbit(orbit);
    for (int frame = 0; frame < 360; ++frame)
        advanceLightOrbit(orbit);
    EXPECT_NEAR(orbit.w, 0.0, 1e-9);
    EXPECT_NEAR(orbit.x, 25.0, 1e-6);
    EXPECT_NEAR(orbit.y, 0.0, 1e-6);
    EXPECT_NEAR(orbit.z, 0.0, 1e-6);
}

} // namespace
