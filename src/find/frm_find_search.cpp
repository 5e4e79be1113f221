// Find, find next, single replace and replace all.
#include "frm_find.h"

#include "contracts/searchable_text.h"
#include "find/find_rules.h"
#include "find/replace_all.h"
#include "platform/files/program_folder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QWidget>

using namespace quillory;

namespace {

const QString ProductTitle = QStringLiteral("Quillory");

// The busy cursor for the length of a replace all: the program's own cursor
// file when there is a usable one, the system's wait cursor otherwise.
class BusyCursor {
public:
    BusyCursor()
    {
        const QString path = ProgramFolder::file(QStringLiteral("wait07.cur"));
        QPixmap picture;
        if (QFileInfo::exists(path))
            picture.load(path);
        if (picture.isNull())
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QApplication::setOverrideCursor(QCursor(picture));
    }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

int frmFind::options() const
{
    return findOptions(chkWholeWord->isChecked(), chkMatchCase->isChecked());
}

void frmFind::giveEditorFocus()
{
    if (m_editorFocus) {
        m_editorFocus();
        return;
    }
    m_rtb.textWidget()->window()->activateWindow();
    m_rtb.textWidget()->setFocus(Qt::OtherFocusReason);
}

void frmFind::message(const QString &text)
{
    if (m_services.messages)
        m_services.messages->show(this, text, MsgButtons::Ok, MsgIcon::None, ProductTitle);
}

void frmFind::cmdFind_Click()
{
    addToFindHistory();
    addToReplaceHistory();
    const QString findText = cboFind->currentText();
    if (m_findState == FindState::FirstSearch) {
        if (m_rtb.Find(findText, 0, options()) < 0) {
            message(m_language.T(65));
        } else {
            giveEditorFocus();
            setFindState(FindState::FindNext);
        }
    } else {
        const int start = m_rtb.SelStart() + m_rtb.SelLength();
        if (m_rtb.Find(findText, start, options()) < 0) {
            message(m_language.T(66));
            setFindState(FindState::FirstSearch);
        } else {
            giveEditorFocus();
        }
    }
    giveEditorFocus();
}

void frmFind::cmdReplace_Click()
{
    addToFindHistory();
    addToReplaceHistory();
    const QString findText = cboFind->currentText();
    if (m_rtb.Find(findText, m_rtb.SelStart(), options()) < 0) {
        message(m_language.T(65));
        return;
    }
    if (m_replaceState == ReplaceState::FirstClick) {
        // The occurrence is selected; the next click replaces it.
        setReplaceState(ReplaceState::Replacing);
        return;
    }
    if (findText.isEmpty())
        return;
    QString replacement = cboReplace->currentText();
    if (m_lineBreakCut) {
        // The find text was the first line of a longer selection: give the
        // line break back with the first replacement.
        m_lineBreakCut = false;
        replacement += QStringLiteral("\r\n");
    }
    QTextCursor cursor = m_rtb.textCursor();
    replaceKeepingFormat(cursor, m_rtb.SelStart(), m_rtb.SelLength(), replacement);
    m_rtb.setTextCursor(cursor);
    if (m_rtb.Find(findText, m_rtb.SelStart() + m_rtb.SelLength(), options()) < 0)
        setFindState(FindState::FirstSearch);
    else
        giveEditorFocus();
}

void frmFind::cmdReplaceAll_Click()
{
    ReplaceAllRequest request;
    request.find = trimBlanks(cboFind->currentText());
    request.replacement = trimBlanks(cboReplace->currentText());
    request.wholeWord = chkWholeWord->isChecked();
    request.matchCase = chkMatchCase->isChecked();
    if (request.find.isEmpty()) {
        // Nothing to look for: an empty text would match everywhere.
        message(m_language.T(65));
        return;
    }
    picBar->show();
    ProgressBar1->setRange(0, 1000);
    ProgressBar1->setValue(0);
    m_sinceProgressPaint.invalidate();
    int count = 0;
    {
        BusyCursor busy;
        count = replaceAllInDocument(*m_rtb.document(), request,
                                     [this](int permille) { showProgress(permille); });
    }
    ProgressBar1->setValue(ProgressBar1->maximum());
    message(m_language.T(67) + QStringLiteral(" \n") + QString::number(count) +
            QStringLiteral(" ") + m_language.T(68));
    picBar->hide();
}

void frmFind::showProgress(int permille)
{
    ProgressBar1->setValue(permille);
    // The work runs inside the click: paint the bar itself now and then, as the
    // event loop cannot until the end.
    if (!m_sinceProgressPaint.isValid() || m_sinceProgressPaint.elapsed() >= 40) {
        m_sinceProgressPaint.start();
        if (ProgressBar1->isVisible())
            ProgressBar1->repaint();
    }
}
