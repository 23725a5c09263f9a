// Watches the files a model is made of (the model file and its textures)
// through inotify, and tells when they have been written again and have
// since stayed as they are for a moment: a save still in progress, a file
// still growing, is waited out. Saves that write a new file and rename it
// over the old are seen as well, since the files' folders are watched.
#pragma once

#include <filesystem>
#include <vector>

// Watches `files` from now on, in place of any watched before.
void watchFiles(const std::vector<std::filesystem::path>& files);
// Polled often (every tick): true once, when a watched file was written and
// no watched file has changed since for the settling time.
bool watchedFilesSettled();
