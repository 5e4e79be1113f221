#pragma once

#include "platform/files/text_file.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>

namespace quillory {

// The page that asks users for a new translation: every line of the known
// language files side by side, with one input field per line, in a form that is
// sent by e-mail to the maintainer.
namespace TranslationForm {

constexpr int LanguageCount = 5;
// Lines 0 to 200 of each file are shown; later lines are not.
constexpr int MaxRows = 201;

// The five language files ("Deutsch" ... "Italiano") in column order, then the
// heading of the input column.
const QStringList &columnNames();

// Lines of the five language files, one column each; a column of a missing file
// stays empty. `rows` is the length of the longest file, at most MaxRows.
struct Grid {
    std::array<std::array<QString, LanguageCount>, MaxRows> cells;
    int rows = 0;
};
Grid readGrid(const QString &languageFolder);

// The texts of the companion ".captions" files, by key: every key of any of
// the five languages, English's order first, then the others' in theirs.
// Values are as the file holds them ("\n" for a line break), so a translator
// sends them back in the same form.
struct CaptionGrid {
    QStringList keys;
    QHash<QString, std::array<QString, LanguageCount>> values;
};
CaptionGrid readCaptions(const QString &languageFolder);

// The page, line by line; the caption texts follow the table's lines in a
// table of their own, each row named by its key (input "Caption_<key>").
QStringList pageLines(const Grid &grid, const QString &productName,
                      const QString &maintainerAddress);
QStringList pageLines(const Grid &grid, const CaptionGrid &captions, const QString &productName,
                      const QString &maintainerAddress);

// The program folder's page file.
QString pagePath();

// Reads the language files of the program folder and writes the page over any
// earlier one.
FileResult write(const QString &productName, const QString &maintainerAddress);

} // namespace TranslationForm
} // namespace quillory
