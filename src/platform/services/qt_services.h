#pragma once

#include "services.h"

#include <QMessageBox>

namespace quillory {

// The picture a message box shows for each kind of message.
QMessageBox::Icon messageBoxIcon(MsgIcon icon);

class QtMessageBoxes : public MessageBoxes {
public:
    MsgResult show(QWidget *owner, const QString &text, MsgButtons buttons, MsgIcon icon,
                   const QString &title) override;
    void beep() override;
};

class QtInputBoxes : public InputBoxes {
public:
    QString ask(QWidget *owner, const QString &prompt, const QString &title,
                const QString &defaultText) override;
};

class QtFileDialogs : public FileDialogs {
public:
    FileDialogReply run(const FileDialogRequest &request) override;
    // "Media files (*.mp3 *.wav)" from a description and a ";"-separated pattern.
    static QString nameFilter(const QString &description, const QString &pattern);
};

// On X11, asks the window manager (_NET_ACTIVE_WINDOW) to activate the topmost
// window of another program; elsewhere does nothing.
class X11WindowSwitcher : public WindowSwitcher {
public:
    void activatePreviousWindow(QWidget *from) override;
};

class SystemLocaleInfo : public LocaleInfo {
public:
    QString countryEnglishName() override;
};

} // namespace quillory
