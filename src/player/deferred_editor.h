#pragma once

#include "contracts/transcript_editor.h"

#include <functional>

class QWidget;
namespace quillory {
class EarlyKeys;
}

// The transcript editor as the player holds it. It is built on first need by
// the factory the composition root hands in. At start-up that is right after
// the player's first frame, when the program hands over the work (otherwise at
// once, in the start-up order): the player is on screen sooner, and the editor
// follows a moment later in its usual place. Characters typed into the player
// meanwhile go to the editor.
class DeferredEditor {
public:
    using Factory = std::function<TranscriptEditor *()>;
    using FirstFrameDeferral = std::function<void(std::function<void()>)>;
    struct Hooks {
        std::function<void()> built;       // just built: place it, tell the program
        std::function<void()> returnFocus; // the keyboard to the editor
        std::function<bool()> ended;       // the program has ended meanwhile
    };

    DeferredEditor(QWidget *player, Hooks hooks);

    void setFactory(Factory factory) { m_factory = std::move(factory); }
    void setAfterFirstFrame(FirstFrameDeferral later) { m_afterFirstFrame = std::move(later); }

    // Starts the editor shown or hidden, now or after the first frame.
    void start(bool shown);
    // The editor, built or its start completed now if need be.
    TranscriptEditor *editor();
    TranscriptEditor *ifBuilt() const { return m_editor; }
    // The start still waits for the first frame.
    bool due() const { return m_due; }
    bool shownAtStart() const { return m_shownAtStart; }

private:
    TranscriptEditor *build();
    void finishStart();

    QWidget *m_player;
    Hooks m_hooks;
    Factory m_factory;
    FirstFrameDeferral m_afterFirstFrame;
    TranscriptEditor *m_editor = nullptr; // owned by the composition root
    bool m_due = false;
    bool m_shownAtStart = true;
    quillory::EarlyKeys *m_earlyKeys = nullptr; // a child of the player while it holds keys
};
