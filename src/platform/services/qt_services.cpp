#include "qt_services.h"

#include "platform/services/file_list_in_language.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>

namespace quillory {

QMessageBox::Icon messageBoxIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

MsgResult QtMessageBoxes::show(QWidget *owner, const QString &text, MsgButtons buttons,
                               MsgIcon icon, const QString &title)
{
    QMessageBox box(owner);
    box.setText(text);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    box.setIcon(messageBoxIcon(icon));
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const int answer = box.exec();
    switch (answer) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Ok:
        return MsgResult::Ok;
    default:
        return buttons == MsgButtons::YesNo ? MsgResult::No
               : buttons == MsgButtons::Ok  ? MsgResult::Ok
                                            : MsgResult::Cancel;
    }
}

void QtMessageBoxes::beep()
{
    QApplication::beep();
}

QString QtInputBoxes::ask(QWidget *owner, const QString &prompt, const QString &title,
                          const QString &defaultText)
{
    bool ok = false;
    QString text = QInputDialog::getText(
        owner, title.isEmpty() ? QApplication::applicationName() : title, prompt, QLineEdit::Normal,
        defaultText, &ok, Qt::WindowStaysOnTopHint);
    return ok ? text : QString();
}

QString QtFileDialogs::nameFilter(const QString &description, const QString &pattern)
{
    QString masks = pattern;
    masks.replace(QLatin1Char(';'), QLatin1Char(' '));
    return QStringLiteral("%1 (%2)").arg(description.isEmpty() ? masks : description, masks);
}

FileDialogReply QtFileDialogs::run(const FileDialogRequest &request)
{
    QFileDialog dialog(request.owner, request.title, request.initialFolder);
    QStringList filters;
    for (int i = 0; i + 1 < request.filterPairs.size(); i += 2)
        filters << nameFilter(request.filterPairs[i], request.filterPairs[i + 1]);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.filterIndex - 1, filters.first()));
    }
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setProxyModel(new FileListInLanguage(&dialog));
    // The callers ask their own questions (for example before replacing a file).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (request.openMode) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                               : QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // A name typed without an extension takes the chosen type's, which
        // decides what the file is written as.
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
                static const QRegularExpression firstMask(QStringLiteral(R"(\*\.([A-Za-z0-9]+))"));
                const QRegularExpressionMatch m = firstMask.match(filter);
                if (m.hasMatch())
                    dialog.setDefaultSuffix(m.captured(1));
            });
    }
    if (!request.initialFileName.isEmpty())
        dialog.selectFile(request.initialFileName);
    FileDialogReply reply;
    if (dialog.exec() != QDialog::Accepted)
        return reply;
    reply.files = dialog.selectedFiles();
    reply.accepted = !reply.files.isEmpty();
    return reply;
}

QString SystemLocaleInfo::countryEnglishName()
{
    const QLocale locale = QLocale::system();
    if (locale.territory() == QLocale::AnyTerritory)
        return QString();
    return QLocale::territoryToString(locale.territory());
}

} // namespace quillory
