#include "startup_marks.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

void markStartup(const char *moment)
{
    static const bool wanted = std::getenv("QUILLORY_STARTUP_MARKS") != nullptr;
    if (!wanted)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "quillory-startup %s %lld\n", moment,
                 static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stderr);
}
