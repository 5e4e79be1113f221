#pragma once

// What the editor window benchmarks share: a player that does nothing, so the
// editor can be built alone, one typed key as the keyboard sends it, and the
// window's controls by their names.
#include "contracts/player_commands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace quillory::bench {

class IdlePlayer : public PlayerCommands {
public:
    explicit IdlePlayer(QString languageFile = QStringLiteral("English.lng"))
        : m_languageFile(std::move(languageFile))
    {
    }
    void playOrPause() override {}
    void jumpForward() override {}
    void jumpBack() override {}
    void quitProgram() override {}
    void toggleBookmarkList() override {}
    void toggleFullTitle() override {}
    void showHelp() override {}
    void openSoundSettings() override {}
    QString languageFile() const override { return m_languageFile; }
    QString editorFolder() const override { return QString(); }
    void setEditorFolder(const QString &) override {}
    bool hasMedia() override { return false; }
    qint64 mediaPositionMs() override { return 0; }
    void playFromMediaPosition(qint64) override {}

private:
    QString m_languageFile;
};

inline void typeKey(QWidget *target, QChar ch)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(target, &release);
}

// The window keeps its controls private; a benchmark reaches them as a user
// interface test does, by object name.
template <class T> T &partOf(const QWidget &window, const QString &name)
{
    T *part = window.findChild<T *>(name);
    if (!part)
        qFatal("no control named %s", qPrintable(name));
    return *part;
}

} // namespace quillory::bench
