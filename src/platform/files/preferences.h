#pragma once

#include "platform/files/text_file.h"

#include <QString>
#include <QStringList>

namespace quillory {

// The program's own settings beyond the eight lines of Quillory.ini, one
// "key=value" line each in Preferences.ini in the program folder. Each feature
// asks for its own keys with its own default; a missing, unreadable or out-of-range
// value gives that default. Lines this version does not know (keys of a newer
// version, comments) are kept in place when the file is written back.
class Preferences {
public:
    explicit Preferences(const QString &path = QString());

    // Reads the file; a missing file is an empty store. Returns false only when
    // the file exists but cannot be read.
    bool load();
    FileResult save() const;

    QString path() const { return m_path; }
    bool contains(const QString &key) const;
    QString text(const QString &key, const QString &fallback = QString()) const;
    int integer(const QString &key, int fallback, int low, int high) const;
    double number(const QString &key, double fallback, double low, double high) const;
    bool flag(const QString &key, bool fallback) const;

    void setText(const QString &key, const QString &value);
    void setInteger(const QString &key, int value);
    void setNumber(const QString &key, double value);
    void setFlag(const QString &key, bool value);
    void remove(const QString &key);

    // The store of the program folder, loaded on first use and again when the
    // program folder changes.
    static Preferences &shared();

private:
    int lineOf(const QString &key) const;

    QString m_path;
    QStringList m_lines;
};

} // namespace quillory
