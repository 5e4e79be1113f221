#pragma once

#include <thread>

// The fonts' configuration, read on a worker while the windows are built.
//
// The player's first frame has text, so the program cannot show it before
// fontconfig has read its configuration (some hundred files) and mapped its
// caches, which takes longer than building the player window. Building needs
// no font until text is measured, so the reading starts as soon as the locale
// is set (setlocale is not thread safe) and only the first measurement waits
// for it. Qt's own list of fonts is left to the GUI thread: built on a worker
// it had the GUI thread waiting for it whenever the machine was busy.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Returns once the configuration is read. Called before the GUI thread
    // first needs a font, so that it never starts a second reading of its own.
    void wait();

private:
    std::thread m_worker;
};
