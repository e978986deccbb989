#pragma once
// Durable writes: replacing a file so that a crash or power cut at any moment
// leaves either the old or the new content, never a torn, empty or
// half-written file; and appending, where the append itself is quick (it
// survives the program's death at once) and a later flush makes it survive
// a power cut, so a caller that must not wait on the disk can leave the
// flush to another thread.

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

// Appends bytes at the end of file (created when missing), without waiting
// for the disk. False when anything failed: the bytes may then be partly
// there, so a caller that keeps records writes whole lines and lets a reader
// skip a torn last one. The folder must exist.
bool AppendToFile(const std::filesystem::path& file, std::string_view bytes);

// Flushes what was appended to file, and its folder entry, to disk. False
// when the file is missing or could not be flushed.
bool FlushAppendsToDisk(const std::filesystem::path& file);

}  // namespace hx
