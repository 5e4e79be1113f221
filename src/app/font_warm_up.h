#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// The fonts' set-up, done on a worker while the application object is built.
//
// The player's first frame has text, so the program cannot show it before the
// font configuration is read (fontconfig parses some hundred files and maps its
// caches) and Qt has listed the installed fonts. Neither needs the GUI thread:
// the configuration is read from the first line of main, overlapping with the
// connection to the display, and the list is made as soon as the application
// object exists, overlapping with the building of the windows.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // The application object exists: the worker may go on with Qt's font list.
    void applicationReady();
    // Returns once the configuration is read. Called before the GUI thread
    // first needs a font, so it never starts a second reading of its own
    // (Qt's font list has a lock of its own).
    void waitForConfiguration();
    // Returns once all the work is done (also from the destructor).
    void finish();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_configurationRead = false;
    bool m_applicationReady = false;
    bool m_cancelled = false;
    std::thread m_worker;
};
