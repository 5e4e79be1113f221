#pragma once

// A window that lives beside the player (the bookmark list, the find and replace
// dialog) and closes with it: the player's close hides every companion at once
// and then lets each close itself on its own timer.
class CompanionWindow {
public:
    virtual ~CompanionWindow() = default;
    // Hide now.
    virtual void hideWithPlayer() = 0;
    // Start the timer whose first tick closes the window.
    virtual void startCloseTimer() = 0;
};
