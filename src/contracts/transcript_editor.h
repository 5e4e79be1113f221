#pragma once

#include <QRect>
#include <QString>

class QWidget;

// The transcript editor as the player window needs it: where it stands, what it
// holds unsaved, and the start-up and language steps the player runs for it.
class TranscriptEditor {
public:
    virtual ~TranscriptEditor() = default;
    // The editor's window, to show, hide, place and raise.
    virtual QWidget *asWidget() = 0;
    // What the window loads at start: its language, keys and menus.
    virtual void loadAtStart() = 0;
    virtual void loadRecentDocuments() = 0;
    // The keyboard to the text.
    virtual void focusText() = 0;
    // Directly under the window whose outer frame is given.
    virtual void placeBelow(const QRect &aboveFrame) = 0;
    virtual bool hasUnsavedChanges() const = 0;
    // The untitled document as the quit question names it ("Untitled1").
    virtual QString untitledTitle() const = 0;
    // Save As; the document stays unsaved when it did not happen.
    virtual void saveAs() = 0;
    virtual void applyLanguage() = 0;
    // The text area, where keys typed before the editor came up are replayed.
    virtual QWidget *textArea() = 0;
};
