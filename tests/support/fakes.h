#pragma once

// Test doubles of the platform services: scripted answers, recorded calls.

#include "platform/services/desktop_links.h"
#include "platform/services/services.h"
#include "platform/services/sound_settings.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace quillory::test {

struct ShownMessage {
    QString text;
    MsgButtons buttons;
    MsgIcon icon;
    QString title;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    // Answers given in order; when they run out, Ok / No / Cancel by the buttons.
    QList<MsgResult> answers;
    QList<ShownMessage> shown;
    int beeps = 0;
    // Run while a box is "open", as timer ticks would.
    std::function<void()> whileOpen;

    MsgResult show(QWidget *, const QString &text, MsgButtons buttons, MsgIcon icon,
                   const QString &title) override
    {
        shown.append({text, buttons, icon, title});
        if (whileOpen)
            whileOpen();
        if (!answers.isEmpty())
            return answers.takeFirst();
        switch (buttons) {
        case MsgButtons::Ok:
            return MsgResult::Ok;
        case MsgButtons::YesNo:
            return MsgResult::No;
        case MsgButtons::YesNoCancel:
            return MsgResult::Cancel;
        }
        return MsgResult::Cancel;
    }
    void beep() override { ++beeps; }
};

struct AskedInput {
    QString prompt, title, defaultText;
};

class FakeInputBoxes : public InputBoxes {
public:
    QStringList answers; // "" = cancelled
    QList<AskedInput> asked;
    QString ask(QWidget *, const QString &prompt, const QString &title,
                const QString &defaultText) override
    {
        asked.append({prompt, title, defaultText});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

class FakeFileDialogs : public FileDialogs {
public:
    QList<FileDialogReply> replies; // empty: cancelled
    QList<FileDialogRequest> requests;
    FileDialogReply run(const FileDialogRequest &request) override
    {
        requests.append(request);
        return replies.isEmpty() ? FileDialogReply() : replies.takeFirst();
    }
    void choose(const QString &path) { replies.append({true, {path}}); }
};

class FakeWindowSwitcher : public WindowSwitcher {
public:
    int switches = 0;
    void activatePreviousWindow(QWidget *) override { ++switches; }
};

class FakeLocale : public LocaleInfo {
public:
    QString country = QStringLiteral("United Kingdom");
    QString countryEnglishName() override { return country; }
};

class FakeDesktopLinks : public DesktopLinks {
public:
    QList<QUrl> opened;
    bool result = true;
    bool openUrl(const QUrl &url) override
    {
        opened.append(url);
        return result;
    }
};

class FakeSoundSettings : public SoundSettings {
public:
    int opens = 0;
    bool available = true; // false: no sound-settings program on this system
    bool open() override
    {
        ++opens;
        return available;
    }
};

// All fakes together, wired into a Services record.
struct FakeServices {
    FakeMessageBoxes messages;
    FakeInputBoxes inputs;
    FakeFileDialogs fileDialogs;
    FakeWindowSwitcher switcher;
    FakeLocale locale;
    FakeDesktopLinks links;
    FakeSoundSettings soundSettings;
    Services services()
    {
        return {&messages, &inputs, &fileDialogs, &switcher, &locale, &links, &soundSettings};
    }
};

} // namespace quillory::test
