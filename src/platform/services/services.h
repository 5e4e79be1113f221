#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace quillory {

class Mixer;
class DesktopLinks;  // desktop_links.h
class SoundSettings; // sound_settings.h
class ColorDialogs;  // color_dialogs.h
class PrintSystem;   // print_system.h
class ChoiceBoxes;   // choice_boxes.h

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { None, Exclamation, Question, Information, Critical };
enum class MsgResult { Ok, Yes, No, Cancel };

// Message boxes and the beep.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgResult show(QWidget *owner, const QString &text, MsgButtons buttons, MsgIcon icon,
                           const QString &title) = 0;
    virtual void beep() = 0;
};

// A one-line input prompt; the empty text when cancelled.
class InputBoxes {
public:
    virtual ~InputBoxes() = default;
    virtual QString ask(QWidget *owner, const QString &prompt, const QString &title,
                        const QString &defaultText) = 0;
};

// One open or save dialog, as the file-dialog function asks for it.
struct FileDialogRequest {
    QWidget *owner = nullptr;
    bool openMode = false;
    QString title;
    QString initialFolder;
    QString initialFileName;
    QStringList filterPairs; // description, pattern, description, pattern, ...
    int filterIndex = 1;     // 1-based
    QString defaultExtension;
    bool multiSelect = false;
};

struct FileDialogReply {
    bool accepted = false;
    QStringList files; // full paths
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual FileDialogReply run(const FileDialogRequest &request) = 0;
};

// Gives the focus back to the window that was active before ours (the Alt+Tab
// of the transport commands when the editor is hidden).
class WindowSwitcher {
public:
    virtual ~WindowSwitcher() = default;
    virtual void activatePreviousWindow(QWidget *from) = 0;
};

// Facts about the user's locale.
class LocaleInfo {
public:
    virtual ~LocaleInfo() = default;
    // The English name of the user's country ("Italy"); empty when unknown.
    virtual QString countryEnglishName() = 0;
};

// The platform services a window needs, owned by the composition root.
struct Services {
    MessageBoxes *messages = nullptr;
    InputBoxes *inputs = nullptr;
    FileDialogs *fileDialogs = nullptr;
    WindowSwitcher *windowSwitcher = nullptr;
    LocaleInfo *locale = nullptr;
    Mixer *mixer = nullptr; // platform/mixer/mixer.h
    DesktopLinks *links = nullptr;
    SoundSettings *soundSettings = nullptr;
    ColorDialogs *colorDialogs = nullptr;
    PrintSystem *printing = nullptr;
    ChoiceBoxes *choices = nullptr;
};

} // namespace quillory
