#pragma once
// A drawn paper written out as a greyscale PNG file.

#include <filesystem>
#include <string>

#include "tools/prnsim/paper_raster.h"

namespace hx {

// Replaces the file. False with the reason.
bool WritePaperPng(const std::filesystem::path& file, const stPaperImage& image,
                   std::string& error);

}  // namespace hx
