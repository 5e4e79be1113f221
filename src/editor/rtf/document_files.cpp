#include "editor/rtf/document_files.h"

#include "editor/rtf/plain_text.h"
#include "editor/rtf/rtf_reader.h"
#include "editor/rtf/rtf_writer.h"

#include <QFile>
#include <QSaveFile>

#include <optional>

namespace quillory {
namespace {

std::optional<QByteArray> readWhole(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return data;
}

bool writeWhole(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    return false;
}

} // namespace

bool loadDocumentFile(const QString &path, QTextDocument *doc, QString *error)
{
    const std::optional<QByteArray> data = readWhole(path, error);
    return data && readRtf(*data, doc, error);
}

bool loadPlainTextFile(const QString &path, QTextDocument *doc, QString *error)
{
    const std::optional<QByteArray> data = readWhole(path, error);
    if (!data)
        return false;
    readPlainText(*data, doc);
    return true;
}

bool saveRtfFile(const QString &path, const QTextDocument &doc, QString *error)
{
    return writeWhole(path, writeRtf(doc), error);
}

bool savePlainTextFile(const QString &path, const QTextDocument &doc, QString *error)
{
    return writeWhole(path, toPlainTextFile(doc), error);
}

} // namespace quillory
