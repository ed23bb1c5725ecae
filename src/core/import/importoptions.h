#pragma once

namespace quorvane {

// Choices a user makes about what formatted text keeps when it becomes BBCode.
struct ImportOptions
{
    // Writes [Color=...] and [Size=...] where the source set them on the text
    // and they differ from the surrounding text; off, both are noise.
    bool keepColoursAndSizes = false;
};

} // namespace quorvane
