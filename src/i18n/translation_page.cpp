#include "translation_page.h"

#include "platform/files/program_folder.h"

namespace quillory::TranslationForm {

namespace {

const QString Header = QStringLiteral("<TD><STRONG><EM><FONT COLOR=#ff0000><CENTER>");
const QString HeaderEnd = QStringLiteral("</CENTER></FONT></EM></STRONG></TD>");

// A language line is the translators' text, not markup: a "<" or "&" in it must
// show as itself and must not break the table or run in the browser.
QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// Reads up to MaxRows lines of a regular file of a bounded size, so neither a
// FIFO nor a device put in place of a language file can stall the page.
int readColumn(const QString &path, Grid *grid, int column)
{
    QByteArray bytes;
    if (!readRegularFile(path, SmallTextFileLimit, &bytes))
        return 0;
    const QString text = decodeText(bytes);
    int count = 0;
    qsizetype start = 0;
    while (count < MaxRows && start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QString line = text.mid(start, end - start);
        start = end + 1;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        grid->cells[static_cast<size_t>(count)][static_cast<size_t>(column)] = line;
        ++count;
    }
    return count;
}

} // namespace

const QStringList &columnNames()
{
    static const QStringList names = {
        QStringLiteral("Deutsch"),  QStringLiteral("English"),
        QStringLiteral("Español"),  QStringLiteral("French"),
        QStringLiteral("Italiano"), QStringLiteral("Traduzione / Traduction")};
    return names;
}

Grid readGrid(const QString &languageFolder)
{
    Grid grid;
    for (int column = 0; column < LanguageCount; ++column) {
        const QString path =
            languageFolder + QLatin1Char('/') + columnNames().at(column) + QStringLiteral(".lng");
        grid.rows = std::max(grid.rows, readColumn(path, &grid, column));
    }
    return grid;
}

CaptionGrid readCaptions(const QString &languageFolder)
{
    CaptionGrid grid;
    // English first: its keys are the complete list in the program's order.
    static const int order[LanguageCount] = {1, 0, 2, 3, 4};
    for (int column : order) {
        const QString path = languageFolder + QLatin1Char('/') + columnNames().at(column) +
                             QStringLiteral(".captions");
        QByteArray bytes;
        if (!readRegularFile(path, SmallTextFileLimit, &bytes))
            continue;
        const QStringList lines = decodeText(bytes).split(QLatin1Char('\n'));
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (line.trimmed().startsWith(QLatin1Char('#')) || eq <= 0)
                continue;
            const QString key = line.left(eq).trimmed();
            if (key.isEmpty())
                continue;
            if (!grid.values.contains(key))
                grid.keys << key;
            grid.values[key][static_cast<size_t>(column)] = line.mid(eq + 1).trimmed();
        }
    }
    return grid;
}

QStringList pageLines(const Grid &grid, const QString &productName,
                      const QString &maintainerAddress)
{
    return pageLines(grid, CaptionGrid(), productName, maintainerAddress);
}

QStringList pageLines(const Grid &grid, const CaptionGrid &captions, const QString &productName,
                      const QString &maintainerAddress)
{
    QStringList out;
    out << QStringLiteral("<HTML><HEAD><TITLE>Traduzione / Traduction software ") +
               escaped(productName.toUpper()) + QStringLiteral("</TITLE></HEAD><BODY>");
    out << QStringLiteral("<FORM Action = \"mailto:") + escaped(maintainerAddress) +
               QStringLiteral("\" method = \"POST\" name=\"Nuova Traduzione ") +
               escaped(productName) + QStringLiteral("\">");
    out << QStringLiteral("<P>Nome lingua / Name language: <input type=text name=\"Nome Lingua\">");
    out << QStringLiteral("<BR><BR><TABLE BORDER=1><TBODY><TR>") + Header + QStringLiteral("N.") +
               HeaderEnd;
    for (const QString &name : columnNames())
        out << Header + name + HeaderEnd;
    out << QStringLiteral("</TR>");

    const QString missing = QStringLiteral("..............");
    for (int r = 0; r < grid.rows; ++r) {
        out << QStringLiteral("<TR>") + Header + QString::number(r + 1) + HeaderEnd;
        for (int column = 0; column < LanguageCount; ++column) {
            QString cell = grid.cells[static_cast<size_t>(r)][static_cast<size_t>(column)];
            if (cell.isEmpty())
                cell = missing;
            // The first three characters are the line's number prefix.
            out << QStringLiteral("<TD>") + escaped(cell.mid(3)) + QStringLiteral("</TD>");
        }
        out << QStringLiteral("<TD><input type=text name=\"Traduzione") + QString::number(r) +
                   QStringLiteral("\"></TD></TR>");
    }
    const QString tableEnd = QStringLiteral("</TBODY></TABLE></P>");
    QString closing = tableEnd;
    if (!captions.keys.isEmpty()) {
        out << tableEnd;
        closing.clear();
        out << QStringLiteral("<P><TABLE BORDER=1><TBODY><TR>") + Header +
                   QStringLiteral("Chiave / Key") + HeaderEnd;
        for (const QString &name : columnNames())
            out << Header + name + HeaderEnd;
        out << QStringLiteral("</TR>");
        for (const QString &key : captions.keys) {
            out << QStringLiteral("<TR><TD><CODE>") + escaped(key) + QStringLiteral("</CODE></TD>");
            const auto &row = captions.values.value(key);
            for (const QString &value : row)
                out << QStringLiteral("<TD>") + (value.isEmpty() ? missing : escaped(value)) +
                           QStringLiteral("</TD>");
            out << QStringLiteral("<TD><input type=text name=\"Caption_") + escaped(key) +
                       QStringLiteral("\"></TD></TR>");
        }
        out << QStringLiteral("</TBODY></TABLE></P>");
    }
    out << closing + QStringLiteral("<P align=right><INPUT value=\"Invia traduzione / "
                                    "Send Traduction\" type=submit></P></FORM></BODY></HTML>");
    return out;
}

QString pagePath()
{
    return ProgramFolder::file(QStringLiteral("Invia_Traduzione.html"));
}

FileResult write(const QString &productName, const QString &maintainerAddress)
{
    const QString folder = ProgramFolder::file(QStringLiteral("Lang"));
    const QStringList lines =
        pageLines(readGrid(folder), readCaptions(folder), productName, maintainerAddress);
    // The byte order mark tells the browser the page is UTF-8; without it a
    // browser may guess a Western code page and garble the accented letters.
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return writeFileSafely(pagePath(), bytes);
}

} // namespace quillory::TranslationForm
