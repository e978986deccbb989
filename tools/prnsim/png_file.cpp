#include "tools/prnsim/png_file.h"

#include <png.h>

#include <cstring>

namespace hx {

bool WritePaperPng(const std::filesystem::path& file, const stPaperImage& image,
                   std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_GRAY;
    if (png_image_write_to_file(&png, file.c_str(), 0, image.dots.data(), image.width, nullptr) ==
        0) {
        error = "cannot write " + file.string() + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

}  // namespace hx
