#include "font_warm_up.h"

#include <dlfcn.h>

namespace {

// fontconfig is Qt's font source on this platform and is already loaded with
// it; when Qt uses another one there is nothing to prepare.
void readFontConfiguration()
{
    using Init = int (*)();
    if (const auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit")))
        init();
}

} // namespace

FontWarmUp::FontWarmUp() : m_worker(readFontConfiguration) {}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::wait()
{
    if (m_worker.joinable())
        m_worker.join();
}
