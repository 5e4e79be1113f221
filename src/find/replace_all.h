#pragma once

#include <QString>
#include <functional>

class QTextCursor;
class QTextDocument;

namespace quillory {

struct ReplaceAllRequest {
    QString find;
    QString replacement;
    bool wholeWord = false;
    bool matchCase = false;
};

// Progress of a replace all, in thousandths of the whole work.
using ReplaceProgress = std::function<void(int permille)>;

// Replaces, line by line, every occurrence that replaceAllHits() picks, in the
// rich document itself: the text around each replacement keeps its formatting
// and the replacement takes the format of the text it replaces. All changes
// form one edit, so the change signal fires once and one undo takes them back.
// Paragraph breaks and line breaks inside a paragraph both end a line. Returns
// the number of replacements.
int replaceAllInDocument(QTextDocument &doc, const ReplaceAllRequest &request,
                         const ReplaceProgress &progress = {});

// Replaces `length` characters at `start` with `text`, in the format of the
// first replaced character (or of the character before `start` when nothing is
// replaced). A CR LF, LF or CR in `text` starts a new paragraph. The cursor is
// left just behind the inserted text, without a selection.
void replaceKeepingFormat(QTextCursor &cursor, int start, int length, const QString &text);

} // namespace quillory
