#include "platform/services/choice_boxes.h"
#include "platform/services/qt_services.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace quillory {

int QtChoiceBoxes::choose(QWidget *owner, const QString &text, const QStringList &answers,
                          int defaultAnswer, int escapeAnswer, MsgIcon icon, const QString &title)
{
    QMessageBox box(owner);
    box.setObjectName(QStringLiteral("ChoiceBox"));
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(messageBoxIcon(icon));
    std::vector<QPushButton *> buttons;
    for (int i = 0; i < answers.size(); ++i) {
        QPushButton *b = box.addButton(answers[i], QMessageBox::ActionRole);
        b->setObjectName(QStringLiteral("answer%1").arg(i));
        b->setAccessibleName(QString(answers[i]).remove(QLatin1Char('&')));
        buttons.push_back(b);
    }
    if (defaultAnswer >= 0 && defaultAnswer < int(buttons.size()))
        box.setDefaultButton(buttons[size_t(defaultAnswer)]);
    if (escapeAnswer >= 0 && escapeAnswer < int(buttons.size()))
        box.setEscapeButton(buttons[size_t(escapeAnswer)]);
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return int(i);
    return escapeAnswer;
}

} // namespace quillory
