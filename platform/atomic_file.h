#pragma once
// Replacing a file so that a crash or power cut at any moment leaves either the
// old or the new content, never a torn, empty or half-written file.

#include <filesystem>
#include <string_view>

namespace hx {

// Writes bytes to a temporary file in the same folder, flushes it to disk,
// renames it over file and flushes the folder. On failure the temporary file
// is removed, the old file is untouched and false is returned; false also
// when the folder could not be flushed after the rename (the new content is
// then in place but not yet certain to survive a power cut). The folder must
// exist. An existing file keeps its permission bits.
bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Makes a file's content durable (written through to the disk), for a file
// written by other means that is about to be renamed into place: without
// it, a power cut soon after the rename can leave the name on an empty or
// torn file. False when the file cannot be opened or flushed.
bool FlushFileToDisk(const std::filesystem::path& file);

}  // namespace hx
