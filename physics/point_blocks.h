// A body's points grouped by where they lie, each group bounded by a sphere.
// A group whose sphere stays above the ground has no point below it, so a
// body at rest reads only the few groups that reach the ground, however many
// points it has and in whatever order its mesh lists them.
#pragma once

#include <cstdint>
#include <vector>

struct PointBlock {
    double centre[3] = {};
    double radius = 0;
    // The block's points, [first, end) in BlockedPoints.
    uint32_t first = 0;
    uint32_t end = 0;
};

struct BlockedPoints {
    // x, y, z of each point, block by block.
    std::vector<float> offsets;
    // Each point's place in the order the points were given.
    std::vector<uint32_t> given;
    std::vector<PointBlock> blocks;
};

// Groups points given as x, y, z each into blocks of neighbours; every
// sphere is widened by `margin`, to cover rounding where it is used.
BlockedPoints groupIntoBlocks(const std::vector<float>& offsets, double margin);
