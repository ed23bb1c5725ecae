#pragma once

#include <thread>

namespace quorvane {

// Reads the system's font configuration on another core while the
// application and the window are built. Reading it (dozens of XML files) is a
// third of a start's instructions, and the first text the window lays out
// would otherwise wait for all of it on the one thread that paints.
class FontConfigWarmUp
{
public:
    FontConfigWarmUp();
    // Waits, as wait() does.
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp &) = delete;
    FontConfigWarmUp &operator=(const FontConfigWarmUp &) = delete;

    // Until the configuration is read. Called before the first font is asked
    // for: a reading started twice at once is done twice.
    void wait();

private:
    std::thread m_reader;
};

} // namespace quorvane
