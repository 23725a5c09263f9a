// The readers of the chunks and blocks a model file is made of. Each takes
// the lines after its head (the cursor's current line) up to and including
// its closing line, and ends the whole read through the cursor on a failure.
#pragma once

#include <cstdint>

#include "mqo/chunk_cursor.h"
#include "mqo/records.h"

// The camera values saved with the model.
void readSceneChunk(ChunkCursor& cursor, SceneRecord& scene);
// The modeller's own picture of the model, when the head names one the
// viewer knows; any other such chunk is skipped.
void readThumbnailChunk(ChunkCursor& cursor, Thumbnail& thumbnail);
// One material per line, appended to `data` in file order.
void readMaterialChunk(ChunkCursor& cursor, ModelData& data);
// One object's body. Faces may name the first `materialCount` materials.
void readObjectChunk(ChunkCursor& cursor, ObjectRecord& object, int32_t materialCount);
// A text vertex block.
void readVertexChunk(ChunkCursor& cursor, ObjectRecord& object);
// A face block.
void readFaceChunk(ChunkCursor& cursor, ObjectRecord& object, int32_t materialCount);
