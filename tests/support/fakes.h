#pragma once

// Test doubles of the platform services: scripted answers, recorded calls.

#include "platform/mixer/mixer.h"
#include "platform/services/choice_boxes.h"
#include "platform/services/desktop_links.h"
#include "platform/services/services.h"
#include "platform/services/sound_settings.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <map>
#include <utility>
#include <vector>

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

// A sound card's mixer: a "Master" volume of 0 to 65535 at three quarters, by default.
class FakeMixer : public Mixer {
public:
    bool opens = true;
    bool refusesValues = false;
    int openCalls = 0;
    std::vector<MixerElement> elements{{QStringLiteral("Master"), 0, 0, 65535}};
    std::map<std::pair<QString, int>, long> values{{{QStringLiteral("Master"), 0}, 49151}};
    QList<std::pair<QString, long>> sets; // every value set, with its element's name
    std::function<void()> whileSetting;   // runs at each set, as another party would see it

    bool open() override
    {
        ++openCalls;
        return opens;
    }
    std::vector<MixerElement> playbackVolumes() override
    {
        return opens ? elements : std::vector<MixerElement>();
    }
    bool setPlaybackVolume(const MixerElement &element, long value) override
    {
        sets.append({element.name, value});
        if (whileSetting)
            whileSetting();
        if (refusesValues || !opens)
            return false;
        values[{element.name, element.index}] = value;
        return true;
    }
    std::optional<long> playbackVolume(const MixerElement &element) override
    {
        const auto it = values.find({element.name, element.index});
        if (!opens || it == values.end())
            return std::nullopt;
        return it->second;
    }
    long value(const QString &name = QStringLiteral("Master")) const
    {
        const auto it = values.find({name, 0});
        return it == values.end() ? -1 : it->second;
    }
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
    FakeMixer mixer;
    FakeDesktopLinks links;
    FakeSoundSettings soundSettings;
    Services services()
    {
        return {&messages, &inputs, &fileDialogs, &switcher, &locale, &mixer, &links, &soundSettings};
    }
};

struct AskedChoice {
    QString text;
    QStringList answers;
    int defaultAnswer, escapeAnswer;
    QString title;
};

// Questions with the program's own answers; not part of FakeServices: a test
// that needs it puts it into its Services.
class FakeChoiceBoxes : public ChoiceBoxes {
public:
    QList<int> answers; // indexes given in order; then the escape answer
    QList<AskedChoice> asked;
    int choose(QWidget *, const QString &text, const QStringList &answerTexts, int defaultAnswer,
               int escapeAnswer, MsgIcon, const QString &title) override
    {
        asked.append({text, answerTexts, defaultAnswer, escapeAnswer, title});
        return answers.isEmpty() ? escapeAnswer : answers.takeFirst();
    }
};

} // namespace quillory::test
