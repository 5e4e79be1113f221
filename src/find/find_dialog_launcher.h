#pragma once

#include "i18n/language_table.h"
#include "platform/services/services.h"

#include <QPointer>
#include <functional>

class CompanionWindow;
class QWidget;
class SearchableText;
class frmFind;

// What the editor's Find and Replace commands call: the dialog is created on
// first use (over the editor's window, and told to the player so that it closes
// with it), then loaded or brought back and shown.
class FindDialogLauncher {
public:
    struct Editor {
        SearchableText *rtb = nullptr;
        // The editor's window; the dialog stays above it and ends with it.
        QWidget *window = nullptr;
        // Reads the editor window's tag: "" for Find, "1" for Replace.
        std::function<QString()> tag;
        // Gives the editor the keyboard focus.
        std::function<void()> focus;
    };

    FindDialogLauncher(Editor editor, const quillory::LanguageTable &language,
                       const quillory::Services &services,
                       std::function<void(CompanionWindow *)> created);
    ~FindDialogLauncher();
    FindDialogLauncher(const FindDialogLauncher &) = delete;
    FindDialogLauncher &operator=(const FindDialogLauncher &) = delete;

    void open();
    // The dialog once created, else null.
    frmFind *dialog() const;

private:
    Editor m_editor;
    const quillory::LanguageTable &m_language;
    quillory::Services m_services;
    std::function<void(CompanionWindow *)> m_created;
    QPointer<frmFind> m_dialog;
};
