#pragma once

// A temporary program folder for one test: QUILLORY_HOME points at it and the
// shipped language files and pictures are copied in.

#include "platform/files/program_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace quillory::test {

// The project's source folder (shipped files live in its resources/).
inline QString sourceDir()
{
    const QByteArray fromEnvironment = qgetenv("QUILLORY_TEST_SOURCE");
#ifdef QUILLORY_SOURCE_DIR
    if (fromEnvironment.isEmpty())
        return QStringLiteral(QUILLORY_SOURCE_DIR);
#endif
    return QString::fromUtf8(fromEnvironment);
}

class ProgramHome {
public:
    explicit ProgramHome(bool withShippedFiles = true)
    {
        QVERIFY2(m_dir.isValid(), "temporary folder");
        qputenv("QUILLORY_HOME", m_dir.path().toUtf8());
        ProgramFolder::set(m_dir.path());
        if (withShippedFiles)
            ProgramFolder::populateFrom(sourceDir() + QStringLiteral("/resources"), m_dir.path());
    }
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const
    {
        return m_dir.path() + QLatin1Char('/') + relative;
    }
    // Writes a file with exact bytes.
    void write(const QString &relative, const QByteArray &bytes) const
    {
        QFile f(file(relative));
        QDir().mkpath(QFileInfo(f).absolutePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString &relative) const
    {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

} // namespace quillory::test
