#pragma once

#include "platform/services/services.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace quillory {

// A question with answers of the program's own (Restore / Keep for later /
// Discard), where the message box's Yes/No/Cancel would not say what happens.
class ChoiceBoxes {
public:
    virtual ~ChoiceBoxes() = default;
    // Returns the index of the chosen answer; `escapeAnswer` when the box is
    // closed without one.
    virtual int choose(QWidget *owner, const QString &text, const QStringList &answers,
                       int defaultAnswer, int escapeAnswer, MsgIcon icon, const QString &title) = 0;
};

class QtChoiceBoxes : public ChoiceBoxes {
public:
    int choose(QWidget *owner, const QString &text, const QStringList &answers, int defaultAnswer,
               int escapeAnswer, MsgIcon icon, const QString &title) override;
};

} // namespace quillory
