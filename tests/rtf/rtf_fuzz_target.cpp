// libFuzzer entry point for the RTF reader (clang builds only); aborts when an
// input breaks one of the properties in rtf_parse_check.h.

#include "rtf_parse_check.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "rtf_fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);

    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString failure = quillory::test::checkParse(input);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        std::abort();
    }
    return 0;
}
