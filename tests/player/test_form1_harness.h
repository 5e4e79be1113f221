#pragma once

// One player window on a simulated media device, with fake platform services and
// a temporary program folder. The device's clock moves only through advance().

#include "app/session_desktop_player.h"
#include "editor/form2.h"
#include "platform/media/media_control.h"
#include "platform/media/simulated_media_engine.h"
#include "player/form1.h"
#include "player/picture_button.h"
#include "player/position_bar.h"
#include "session/player_session.h"
#include "support/fakes.h"
#include "support/program_home.h"
#include "support/window_controls.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

namespace quillory::test {

class PlayerRig {
public:
    PlayerRig()
        : engine(new SimulatedMediaEngine), media(std::unique_ptr<MediaEngine>(engine)),
          session(media)
    {
    }

    // Creates the window (before Form_Load); the spy counts programEnded.
    Form1 &create() { return create(fakes.services()); }
    Form1 &create(const Services &services)
    {
        form = std::make_unique<Form1>(session, services);
        form->setEditorFactory([this, services] {
            editorWindow =
                std::make_unique<Form2>(form->commands(), form->languageTable(), services);
            return editorWindow.get();
        });
        ended = std::make_unique<QSignalSpy>(form.get(), &Form1::programEnded);
        return *form;
    }
    Form1 &start(const QString &commandLine = QString())
    {
        if (!form)
            create();
        form->Form_Load(commandLine);
        return *form;
    }

    // A real file under the program folder's media/ folder with the given length.
    QString mediaFile(const QString &name, std::int64_t lengthMs = 60000)
    {
        const QString path = home.file(QStringLiteral("media/") + name);
        home.write(QStringLiteral("media/") + name, "RIFF");
        engine->setLength(path, lengthMs);
        return path;
    }

    // Opens a file and lets it play to `positionMs`.
    QString openAt(const QString &name, std::int64_t lengthMs, std::int64_t positionMs)
    {
        const QString path = mediaFile(name, lengthMs);
        form->OpenMediaFile(path);
        engine->advance(positionMs);
        return path;
    }

    void writeSettings(const QStringList &lines)
    {
        QByteArray bytes;
        for (const QString &line : lines)
            bytes += line.toUtf8() + "\r\n";
        home.write(QStringLiteral("Quillory.ini"), bytes);
    }
    QByteArray settingsBytes() const { return home.read(QStringLiteral("Quillory.ini")); }
    QStringList settingsLines() const
    {
        QStringList lines = QString::fromUtf8(settingsBytes()).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    bool settingsExist() const { return QFile::exists(home.file(QStringLiteral("Quillory.ini"))); }
    void removeSettings() const { QFile::remove(home.file(QStringLiteral("Quillory.ini"))); }

    QString T(int n) const { return form->languageTable().T(n); }
    int endCount() const { return ended ? static_cast<int>(ended->count()) : 0; }

    ProgramHome home;
    SimulatedMediaEngine *engine; // owned by media
    MediaControl media;
    PlayerSession session;
    FakeServices fakes;
    std::unique_ptr<Form1> form;
    std::unique_ptr<Form2> editorWindow; // built when the player first needs it
    std::unique_ptr<QSignalSpy> ended;
};

// The player's editor window, built (or its start finished) on this first need.
inline Form2 *editorOf(Form1 &form)
{
    return static_cast<Form2 *>(form.editor()->asWidget());
}

// The session as media keys and pedals see it, with the window's open and raise.
inline SessionDesktopPlayer desktopFor(Form1 &form)
{
    return SessionDesktopPlayer(
        form.session(), [&form](const QString &path) { form.OpenMediaFile(path); },
        [&form] { form.raiseWindows(); });
}

// Entry k of a language file read directly: the line from its fourth character.
inline QStringList languageFileEntries(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList entries;
    for (QString line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n")))
        entries << line.mid(3);
    return entries;
}

} // namespace quillory::test
