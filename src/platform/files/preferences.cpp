#include "preferences.h"

#include "platform/files/program_folder.h"

#include <QFileInfo>
#include <cmath>

namespace quillory {

namespace {
// Keys are plain words; a line that is not "key=value" is kept but never matched.
QString keyOfLine(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0 || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
        return QString();
    return line.left(eq).trimmed();
}

bool validKey(const QString &key)
{
    return !key.isEmpty() && !key.contains(QLatin1Char('=')) && !key.contains(QLatin1Char('\n')) &&
           !key.contains(QLatin1Char('\r')) && key.trimmed() == key;
}

// Values are one line: a line break would make a second, foreign line.
QString oneLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}
} // namespace

Preferences::Preferences(const QString &path) : m_path(path) {}

bool Preferences::load()
{
    m_lines.clear();
    if (m_path.isEmpty() || !QFileInfo::exists(m_path))
        return true;
    QStringList lines;
    if (!readTextLines(m_path, &lines))
        return false;
    m_lines = lines;
    return true;
}

FileResult Preferences::save() const
{
    if (m_path.isEmpty())
        return FileResult::failure(QStringLiteral("no preferences file"));
    return writeTextLines(m_path, m_lines);
}

int Preferences::lineOf(const QString &key) const
{
    // The last line of a key wins, as a hand-edited file would expect.
    for (int i = m_lines.size() - 1; i >= 0; --i)
        if (keyOfLine(m_lines[i]) == key)
            return i;
    return -1;
}

bool Preferences::contains(const QString &key) const
{
    return lineOf(key) >= 0;
}

QString Preferences::text(const QString &key, const QString &fallback) const
{
    const int i = lineOf(key);
    if (i < 0)
        return fallback;
    const QString &line = m_lines[i];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

int Preferences::integer(const QString &key, int fallback, int low, int high) const
{
    bool ok = false;
    const int value = text(key).toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

double Preferences::number(const QString &key, double fallback, double low, double high) const
{
    bool ok = false;
    const double value = text(key).toDouble(&ok);
    return ok && std::isfinite(value) && value >= low && value <= high ? value : fallback;
}

bool Preferences::flag(const QString &key, bool fallback) const
{
    const QString value = text(key).toLower();
    if (value == QLatin1String("1") || value == QLatin1String("true"))
        return true;
    if (value == QLatin1String("0") || value == QLatin1String("false"))
        return false;
    return fallback;
}

void Preferences::setText(const QString &key, const QString &value)
{
    if (!validKey(key))
        return;
    const QString line = key + QLatin1Char('=') + oneLine(value);
    const int i = lineOf(key);
    if (i >= 0)
        m_lines[i] = line;
    else
        m_lines.append(line);
}

void Preferences::setInteger(const QString &key, int value)
{
    setText(key, QString::number(value));
}

void Preferences::setNumber(const QString &key, double value)
{
    setText(key, QString::number(value, 'g', 17));
}

void Preferences::setFlag(const QString &key, bool value)
{
    setText(key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void Preferences::remove(const QString &key)
{
    for (int i = m_lines.size() - 1; i >= 0; --i)
        if (keyOfLine(m_lines[i]) == key)
            m_lines.removeAt(i);
}

Preferences &Preferences::shared()
{
    // Follows the program folder, which tests set anew for each case.
    static Preferences store;
    const QString path = ProgramFolder::file(QStringLiteral("Preferences.ini"));
    if (store.m_path != path) {
        store = Preferences(path);
        store.load();
    }
    return store;
}

} // namespace quillory
