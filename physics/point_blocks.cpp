#include "physics/point_blocks.h"

#include <algorithm>
#include <cmath>

namespace {

// A block holds at least this many points unless its row of cells ends.
constexpr uint32_t BLOCK_POINTS = 32;
// About this many points fall in a cell of a surface; the grid's side is
// bounded so that its counts stay small beside the points.
constexpr double POINTS_PER_SURFACE_CELL = 64.0;
constexpr int MAX_GRID_SIDE = 128;

struct Grid {
    float low[3] = {};
    float step[3] = {};
    int side = 1;

    int cellOf(const float* point) const {
        int cell = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const float place = step[axis] > 0 ? (point[axis] - low[axis]) / step[axis] : 0.0f;
            cell = cell * side + static_cast<int>(std::clamp(place, 0.0f, static_cast<float>(side - 1)));
        }
        return cell;
    }
    // Cells run along the last axis within a row.
    int rowOf(int cell) const { return cell / side; }
};

Grid gridOver(const std::vector<float>& offsets);
void bound(PointBlock& block, const std::vector<float>& offsets, double margin);

}  // namespace

// A counting sort by cell keeps the points of a cell in the order they were
// given, and costs two passes over them.
BlockedPoints groupIntoBlocks(const std::vector<float>& offsets, double margin) {
    const size_t count = offsets.size() / 3;
    BlockedPoints blocked;
    if (count == 0) return blocked;
    const Grid grid = gridOver(offsets);
    std::vector<uint32_t> cellStarts(static_cast<size_t>(grid.side) * grid.side * grid.side + 1, 0);
    std::vector<int> cells(count);
    for (size_t p = 0; p < count; ++p) {
        cells[p] = grid.cellOf(&offsets[3 * p]);
        ++cellStarts[cells[p] + 1];
    }
    for (size_t c = 1; c < cellStarts.size(); ++c) cellStarts[c] += cellStarts[c - 1];
    blocked.offsets.resize(offsets.size());
    blocked.given.resize(count);
    std::vector<uint32_t> next(cellStarts.begin(), cellStarts.end() - 1);
    for (size_t p = 0; p < count; ++p) {
        const uint32_t place = next[cells[p]]++;
        std::copy_n(&offsets[3 * p], 3, &blocked.offsets[3 * place]);
        blocked.given[place] = static_cast<uint32_t>(p);
    }
    PointBlock block;
    for (size_t c = 0; c + 1 < cellStarts.size(); ++c) {
        const bool rowEnds =
            c + 2 == cellStarts.size() || grid.rowOf(static_cast<int>(c)) != grid.rowOf(static_cast<int>(c + 1));
        block.end = cellStarts[c + 1];
        if (block.end > block.first && (block.end - block.first >= BLOCK_POINTS || rowEnds)) {
            bound(block, blocked.offsets, margin);
            blocked.blocks.push_back(block);
            block = PointBlock{};
            block.first = cellStarts[c + 1];
        } else if (rowEnds) {
            block.first = cellStarts[c + 1];
        }
    }
    return blocked;
}

namespace {

Grid gridOver(const std::vector<float>& offsets) {
    Grid grid;
    const double count = static_cast<double>(offsets.size() / 3);
    grid.side = std::clamp(static_cast<int>(std::sqrt(count / POINTS_PER_SURFACE_CELL)), 1, MAX_GRID_SIDE);
    for (int axis = 0; axis < 3; ++axis) {
        float low = offsets[axis], high = low;
        for (size_t p = axis; p < offsets.size(); p += 3) {
            low = std::min(low, offsets[p]);
            high = std::max(high, offsets[p]);
        }
        grid.low[axis] = low;
        grid.step[axis] = (high - low) / static_cast<float>(grid.side);
    }
    return grid;
}

// The sphere about the middle of the block's bounding box.
void bound(PointBlock& block, const std::vector<float>& offsets, double margin) {
    for (int axis = 0; axis < 3; ++axis) {
        double low = offsets[3 * block.first + axis], high = low;
        for (uint32_t p = block.first; p < block.end; ++p) {
            low = std::min<double>(low, offsets[3 * p + axis]);
            high = std::max<double>(high, offsets[3 * p + axis]);
        }
        block.centre[axis] = 0.5 * (low + high);
    }
    double radius = 0;
    for (uint32_t p = block.first; p < block.end; ++p) {
        const double dx = offsets[3 * p] - block.centre[0], dy = offsets[3 * p + 1] - block.centre[1],
                     dz = offsets[3 * p + 2] - block.centre[2];
        radius = std::max(radius, std::sqrt(dx * dx + dy * dy + dz * dz));
    }
    block.radius = radius + margin;
}

}  // namespace
