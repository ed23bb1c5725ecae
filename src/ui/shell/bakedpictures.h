#pragma once

#include <span>

namespace quorvane {

// A picture of the first paint drawn at build time (resources/bake-pictures.cpp):
// the SVG file's resource path, the size the window asks for, the size drawn
// (the picture's proportions fitted into it) and its pixels, ARGB32
// premultiplied, rows packed.
struct BakedPicture
{
    const char *path;
    int askedWidth;
    int askedHeight;
    int width;
    int height;
    const unsigned char *pixels;
};

std::span<const BakedPicture> bakedPictures();

} // namespace quorvane
