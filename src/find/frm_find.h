#pragma once

#include "contracts/companion_window.h"
#include "i18n/language_table.h"
#include "platform/services/services.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class SearchableText;

// The modeless find and replace dialog over the editor's text. Find, find next
// and single replace move the editor's selection; replace all changes the rich
// document in place. The editor's tag ("" find, anything else replace) picks
// the layout when the dialog opens.
class frmFind : public QDialog, public CompanionWindow {
    Q_OBJECT
public:
    // `editorTag` reads the editor window's tag; `editorFocus` gives the editor
    // window the keyboard focus (by default the text's window is activated and
    // the text focused).
    frmFind(SearchableText &rtb, std::function<QString()> editorTag,
            const quillory::LanguageTable &language, const quillory::Services &services,
            QWidget *parent = nullptr);
    ~frmFind() override;

    // What the editor's Find and Replace commands call: loads the dialog if it is
    // not loaded, otherwise takes the layout the tag now asks for, then shows it.
    void showFromEditor();
    void setEditorFocus(std::function<void()> focus) { m_editorFocus = std::move(focus); }

    void Form_Load();
    void Form_Activate();
    // Closes the dialog: histories, options, flags and button states end here.
    void Form_Unload();
    bool isLoaded() const { return m_loaded; }
    bool isReplaceMode() const { return m_replaceMode; }
    bool lineBreakFlag() const { return m_lineBreakCut; }

    void cmdFind_Click();
    void cmdReplace_Click();
    void cmdReplaceAll_Click();
    void cmdCancel_Click();
    void cboFind_Click();
    void cboFind_OLEDragDrop(const QString &dropped);
    void cboReplace_OLEDragDrop(const QString &dropped);
    void Timer1_Timer();

    // CompanionWindow: the player's close hides the dialog, then its timer
    // closes it.
    void hideWithPlayer() override;
    void startCloseTimer() override;

    // Controls, named as designed.
    QComboBox *cboFind = nullptr;
    QComboBox *cboReplace = nullptr;
    QLabel *lblFind = nullptr;
    QLabel *lblReplace = nullptr;
    QGroupBox *Frame1 = nullptr;
    QCheckBox *chkWholeWord = nullptr;
    QCheckBox *chkMatchCase = nullptr;
    QPushButton *cmdFind = nullptr;
    QPushButton *cmdReplace = nullptr;
    QPushButton *cmdReplaceAll = nullptr;
    QPushButton *cmdCancel = nullptr;
    QWidget *picBar = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QTimer Timer1;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    enum class FindState { FirstSearch, FindNext };
    enum class ReplaceState { FirstClick, Replacing };

    void buildControls();
    void applyCaptions();
    void applyMode();
    void setFindState(FindState state);
    void setReplaceState(ReplaceState state);
    void addToHistory(QComboBox *box);
    void addToFindHistory() { addToHistory(cboFind); }
    void addToReplaceHistory() { addToHistory(cboReplace); }
    void takeDroppedText(QComboBox *box, const QString &dropped, bool setsLineBreakFlag);
    int options() const;
    void giveEditorFocus();
    void message(const QString &text);
    void showProgress(int permille);

    SearchableText &m_rtb;
    std::function<QString()> m_editorTag;
    std::function<void()> m_editorFocus;
    const quillory::LanguageTable &m_language;
    quillory::Services m_services;
    bool m_loaded = false;
    bool m_replaceMode = false;
    bool m_lineBreakCut = false;
    FindState m_findState = FindState::FirstSearch;
    ReplaceState m_replaceState = ReplaceState::FirstClick;
    QElapsedTimer m_sinceProgressPaint;
};
