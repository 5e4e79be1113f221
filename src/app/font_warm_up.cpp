#include "font_warm_up.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
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

FontWarmUp::FontWarmUp() : m_worker([this] { run(); }) {}

FontWarmUp::~FontWarmUp()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled = !m_applicationReady;
    }
    m_changed.notify_all();
    finish();
}

void FontWarmUp::run()
{
    readFontConfiguration();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_configurationRead = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return m_applicationReady || m_cancelled; });
    if (m_cancelled)
        return;
    lock.unlock();
    // Makes Qt's list of the installed fonts, which the first text measured on
    // the GUI thread would otherwise wait for.
    QFontMetrics(QGuiApplication::font()).horizontalAdvance(QStringLiteral("File"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(8.25);
    QFontMetrics(arial).horizontalAdvance(QStringLiteral("0:00"));
}

void FontWarmUp::applicationReady()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_applicationReady = true;
    }
    m_changed.notify_all();
}

void FontWarmUp::waitForConfiguration()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_configurationRead; });
}

void FontWarmUp::finish()
{
    if (m_worker.joinable())
        m_worker.join();
}
