// Compressed DDS pixels: blocks of 4 x 4 pixels, left to right, top row of
// blocks first, as DXT1, DXT3 and DXT5 (BC1, BC2 and BC3) store them. Each
// block holds two 5:6:5 colours and a 2-bit choice per pixel among them and
// the colours between; DXT3 adds 4 bits of alpha per pixel, DXT5 two alphas
// and a 3-bit choice per pixel among them and the alphas between. The caller
// hands over whole blocks it has checked are there.
#pragma once

#include <cstddef>
#include <cstdint>

enum class BlockFormat { Dxt1, Dxt3, Dxt5 };

constexpr int32_t BLOCK_SIDE = 4;

// 8 bytes for DXT1, 16 for DXT3 and DXT5.
size_t bytesPerBlock(BlockFormat format);

// The block's 16 pixels as red, green, blue, alpha, top row first.
void decodeBlock(BlockFormat format, const uint8_t* block, uint8_t rgba[16][4]);

// True when a pixel in the first `columns` x `rows` of a DXT1 block is its
// transparent black.
bool dxt1BlockCutsOut(const uint8_t* block, int32_t columns, int32_t rows);
