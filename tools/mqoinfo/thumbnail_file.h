// mqoinfo --thumbnail: the modeller's own picture of a model, written as a
// PNG file. It is the file's Thumbnail chunk, or for a model in an archive
// without one, the archive's thumbnail.jpg.
#pragma once

#include <string>

#include "model/model_archive.h"
#include "mqo/records.h"

enum class ThumbnailWritten { Written, NoThumbnail, Unreadable, NotWritten };

// Writes `data`'s thumbnail, or `archive`'s (null for a plain file), to
// `path`. `problem` says why for Unreadable.
ThumbnailWritten writeThumbnail(const ModelData& data, const ModelArchive* archive, const char* path,
                                std::string& problem);
