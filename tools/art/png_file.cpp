#include "png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace velmora::art {
namespace {

constexpr png_fixed_point kGamma = 45000;  // 1/2.2, as libpng stores it

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    *error = message;
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

}  // namespace

bool WritePng(const std::string& path, const Image& image, std::string* error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        *error = "cannot open " + path + " for writing";
        return false;
    }
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, error, OnPngError, OnPngWarning);
    if (png == nullptr) {
        *error = "cannot start libpng";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        *error = "cannot start libpng";
        return false;
    }

    std::vector<png_bytep> rows(image.height);
    for (int y = 0; y < image.height; ++y) {
        rows[y] = const_cast<png_bytep>(image.At(0, y));
    }
    char keyword[] = "Software";
    char text[] = "Velmora";
    png_text comment{};
    comment.compression = PNG_TEXT_COMPRESSION_NONE;
    comment.key = keyword;
    comment.text = text;

    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_compression_level(png, 9);
    // libpng ends an IDAT chunk whenever its output buffer fills; a buffer larger than the
    // unfiltered rows themselves can never fill, so all the pixel data lands in one IDAT.
    const size_t raw = static_cast<size_t>(image.height) * (1 + image.width * 4);
    png_set_compression_buffer_size(png, raw + raw / 8 + 4096);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_gAMA_fixed(png, info, kGamma);
    png_set_text(png, info, &comment, 1);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);

    if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace velmora::art
