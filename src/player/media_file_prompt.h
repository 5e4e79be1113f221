#pragma once

#include "platform/services/services.h"

#include <QString>

class QMimeData;
class QWidget;
namespace quillory {
class LanguageTable;
}

// Which file the player opens: the one named, or one chosen in the open dialog
// when none is; only an ordinary file passes, anything else is said in a
// message box over the owner.
class MediaFilePrompt {
public:
    MediaFilePrompt(QWidget *owner, const quillory::Services &services,
                    const quillory::LanguageTable &language);

    // Empty when the dialog was cancelled or the file cannot be opened.
    QString fileToOpen(const QString &name) const;
    // A dropped file whose open failed.
    void tellDropFailed() const;

    // The first local file a drag carries; empty when it carries none.
    static QString firstLocalFile(const QMimeData *mime);
    // A dropped name without the NULs that pad its buffer.
    static QString withoutPadding(QString name);

private:
    QWidget *m_owner;
    quillory::Services m_services;
    const quillory::LanguageTable &m_language;
};
