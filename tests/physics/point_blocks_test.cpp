// A body's points grouped into blocks: the ground search passes over every
// block whose sphere stays above the ground, so a point lost, doubled or
// left outside its sphere is a contact missed.
#include "physics/point_blocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<float> pointsOf(size_t count, float spreadX, float spreadY, float spreadZ) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::vector<float> offsets;
    for (size_t p = 0; p < count; ++p)
        offsets.insert(offsets.end(), {spreadX * unit(random), spreadY * unit(random), spreadZ * unit(random)});
    return offsets;
}

}  // namespace

TEST(PointBlocks, everyPointOnceAndInsideItsBlocksSphere) {
    // Clouds, a flat plate, a line, one place for all, and the empty body.
    const std::vector<float> clouds[] = {pointsOf(1, 1, 1, 1),
                                         pointsOf(33, 5, 5, 5),
                                         pointsOf(20000, 100, 3, 50),
                                         pointsOf(5000, 10, 10, 0),
                                         pointsOf(700, 0, 0, 9),
                                         std::vector<float>(300, 2.5f),
                                         {}};
    for (const std::vector<float>& offsets : clouds) {
        const size_t count = offsets.size() / 3;
        const BlockedPoints blocked = groupIntoBlocks(offsets, 1e-6);
        ASSERT_EQ(blocked.offsets.size(), offsets.size());
        std::vector<int> seen(count, 0);
        uint32_t next = 0;
        for (const PointBlock& block : blocked.blocks) {
            ASSERT_EQ(block.first, next);
            ASSERT_GT(block.end, block.first);
            next = block.end;
            for (uint32_t p = block.first; p < block.end; ++p) {
                const uint32_t given = blocked.given[p];
                ASSERT_LT(given, count);
                ++seen[given];
                double distance = 0;
                for (int axis = 0; axis < 3; ++axis) {
                    EXPECT_EQ(blocked.offsets[3 * p + axis], offsets[3 * given + axis]);
                    distance += std::pow(blocked.offsets[3 * p + axis] - block.centre[axis], 2);
                }
                EXPECT_LE(std::sqrt(distance), block.radius);
            }
        }
        EXPECT_EQ(next, count);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), static_cast<long>(count));
    }
}
