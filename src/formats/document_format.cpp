#include "formats/document_format.h"

#include "rtf/format_runs.h"

#include <QFileInfo>
#include <QTextDocument>
#include <array>

namespace quillory {

namespace {

struct NamedFormat {
    DocumentFormat format;
    const char *name;
};

constexpr std::array<NamedFormat, 5> kNames{{
    {DocumentFormat::Rtf, "rtf"},
    {DocumentFormat::PlainText, "txt"},
    {DocumentFormat::SubRip, "srt"},
    {DocumentFormat::WebVtt, "vtt"},
    {DocumentFormat::OpenDocument, "odt"},
}};

bool keepsOnlyCueStyles(DocumentFormat format)
{
    return format == DocumentFormat::SubRip || format == DocumentFormat::WebVtt;
}

} // namespace

std::optional<DocumentFormat> formatFromName(const QString &name)
{
    for (const NamedFormat &entry : kNames) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.format;
    }
    return std::nullopt;
}

std::optional<DocumentFormat> formatFromExtension(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? std::nullopt : formatFromName(suffix);
}

QString formatName(DocumentFormat format)
{
    for (const NamedFormat &entry : kNames) {
        if (entry.format == format)
            return QLatin1String(entry.name);
    }
    return QStringLiteral("rtf");
}

bool isReadable(DocumentFormat format)
{
    return format != DocumentFormat::OpenDocument;
}

bool dropsFormatting(const QTextDocument &doc, DocumentFormat format)
{
    if (format == DocumentFormat::Rtf || format == DocumentFormat::OpenDocument)
        return false;
    const QFont base = doc.defaultFont();
    for (const FormatRun &run : formatRuns(doc)) {
        const bool cueStyle = run.bold || run.italic || run.underline;
        if (cueStyle && !keepsOnlyCueStyles(format))
            return true;
        const bool sizeDiffers = run.pointSize > 0 && base.pointSizeF() > 0 &&
                                 !qFuzzyCompare(run.pointSize, base.pointSizeF());
        if (run.strike || run.colour.isValid() || run.alignment != RunAlignment::Left ||
            run.inList() || run.fontFamily != base.family() || sizeDiffers)
            return true;
    }
    return false;
}

} // namespace quillory
