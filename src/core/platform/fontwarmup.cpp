#include "platform/fontwarmup.h"

#include <fontconfig/fontconfig.h>

namespace quorvane {

// FcInit keeps what it reads for the process; Qt's own call finds it there.
FontConfigWarmUp::FontConfigWarmUp() : m_reader([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp()
{
    wait();
}

void FontConfigWarmUp::wait()
{
    if (m_reader.joinable())
        m_reader.join();
}

} // namespace quorvane
