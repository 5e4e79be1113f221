#include "editor_spelling.h"

#include "editor/rich_text_box.h"
#include "editor/spell_underline.h"
#include "i18n/captions.h"
#include "i18n/qt_translations.h"
#include "platform/files/preferences.h"
#include "spelling/language_ids.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QTextBlock>
#include <QTextEdit>

using namespace quillory;
using namespace quillory::spelling;

namespace {

const QString EnabledKey = QStringLiteral("spelling.enabled");
const QString LanguageKey = QStringLiteral("spelling.language");

// "italiano (Italia)": each dictionary named in its own language.
QString dictionaryTitle(const QString &name)
{
    const QLocale locale(name);
    if (locale.language() == QLocale::C)
        return name;
    QString title = locale.nativeLanguageName();
    if (name.contains(QLatin1Char('_')))
        title += QStringLiteral(" (") + locale.nativeTerritoryName() + QLatin1Char(')');
    return title;
}

} // namespace

EditorSpelling::EditorSpelling(QTextEdit *text, QAction *onOff, QMenu *toolsMenu,
                               QList<DictionaryFiles> installed, const QString &personalWordsPath)
    : QObject(text), m_text(text), m_onOff(onOff), m_personal(personalWordsPath),
      m_checker(std::move(installed), &m_personal)
{
    m_personal.load();
    m_underline = new SpellUnderline(text, &m_checker);
    onOff->setCheckable(true);
    onOff->setChecked(Preferences::shared().flag(EnabledKey, true));
    m_underline->setEnabled(onOff->isChecked());
    connect(onOff, &QAction::toggled, this, [this](bool on) {
        m_underline->setEnabled(on);
        Preferences::shared().setFlag(EnabledKey, on);
        Preferences::shared().save();
    });

    m_languageMenu = toolsMenu->addMenu(QString());
    m_languageMenu->setObjectName(QStringLiteral("mnuLinguaOrtografia"));
    m_languages = new QActionGroup(this);
    m_interfaceLanguage = m_languageMenu->addAction(QString());
    m_interfaceLanguage->setCheckable(true);
    m_languages->addAction(m_interfaceLanguage);
    m_languageMenu->addSeparator();
    const QString chosen = Preferences::shared().text(LanguageKey);
    m_interfaceLanguage->setChecked(true);
    for (const DictionaryFiles &d : m_checker.installed()) {
        // Debian links a language's other countries to one file: one entry each.
        if (QFileInfo(d.affPath).isSymLink() && d.name != chosen)
            continue;
        QAction *item = m_languageMenu->addAction(dictionaryTitle(d.name));
        item->setData(d.name);
        item->setCheckable(true);
        item->setChecked(d.name == chosen);
        m_languages->addAction(item);
    }
    connect(m_languages, &QActionGroup::triggered, this,
            [this](QAction *item) { chooseDictionary(item->data().toString()); });
    m_languageMenu->menuAction()->setEnabled(!m_checker.installed().isEmpty());
    if (auto *box = qobject_cast<RichTextBox *>(text))
        connect(box, &RichTextBox::documentLanguageChanged, this, &EditorSpelling::followDocument);
}

EditorSpelling::~EditorSpelling() = default;

void EditorSpelling::applyLanguage(const QString &interfaceLanguageFile)
{
    m_interfaceFile = interfaceLanguageFile;
    m_onOff->setText(
        caption(QStringLiteral("spelling.check"), QStringLiteral("Check &spelling as you type")));
    m_languageMenu->setTitle(
        caption(QStringLiteral("spelling.language"), QStringLiteral("Spelling &language")));
    m_interfaceLanguage->setText(
        caption(QStringLiteral("spelling.interfaceLanguage"), QStringLiteral("As the program")));
    followLanguage();
}

void EditorSpelling::followDocument(int language)
{
    m_documentLanguage = language;
    followLanguage();
}

void EditorSpelling::followLanguage()
{
    const QString written = localeOfLanguageId(m_documentLanguage);
    if (!written.isEmpty() && m_checker.setLanguage(written)) {
        checkLanguageItem(m_checker.dictionaryName());
        return;
    }
    const QString chosen = Preferences::shared().text(LanguageKey);
    checkLanguageItem(chosen);
    // A chosen dictionary since removed from the system: the program's language.
    if (!chosen.isEmpty() && m_checker.setLanguage(chosen))
        return;
    m_checker.setLanguage(QtTranslations::codeOf(m_interfaceFile));
}

void EditorSpelling::checkLanguageItem(const QString &dictionary)
{
    for (QAction *item : m_languages->actions())
        if (item != m_interfaceLanguage && item->data().toString() == dictionary) {
            item->setChecked(true);
            return;
        }
    m_interfaceLanguage->setChecked(true);
}

void EditorSpelling::chooseDictionary(const QString &name)
{
    if (name.isEmpty())
        Preferences::shared().remove(LanguageKey);
    else
        Preferences::shared().setText(LanguageKey, name);
    Preferences::shared().save();
    // The transcript is now in that language, and says so when saved.
    m_documentLanguage = name.isEmpty() ? 0 : languageIdOfLocale(name);
    if (auto *box = qobject_cast<RichTextBox *>(m_text))
        box->setDocumentLanguage(m_documentLanguage);
    followLanguage();
}

void EditorSpelling::addSuggestions(QMenu *menu, int position)
{
    const std::optional<WordSpan> span = m_underline->misspeltAt(position);
    if (!span)
        return;
    QTextCursor word(m_text->document());
    word.setPosition(span->start);
    word.setPosition(span->start + span->length, QTextCursor::KeepAnchor);
    const QString misspelt = word.selectedText();
    QAction *first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
    const QStringList offered = m_checker.suggestions(misspelt, 6);
    for (const QString &suggestion : offered) {
        auto *item = new QAction(suggestion, menu);
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        connect(item, &QAction::triggered, this, [this, word, suggestion]() mutable {
            // The editor's own change path: its undo history and modified mark follow.
            word.insertText(suggestion);
            m_text->setTextCursor(word);
        });
        menu->insertAction(first, item);
    }
    if (offered.isEmpty()) {
        auto *none = new QAction(
            caption(QStringLiteral("spelling.noSuggestions"), QStringLiteral("(no suggestions)")),
            menu);
        none->setEnabled(false);
        menu->insertAction(first, none);
    }
    auto *add = new QAction(
        caption(QStringLiteral("spelling.addWord"), QStringLiteral("&Add to dictionary")), menu);
    add->setObjectName(QStringLiteral("spellingAddWord"));
    connect(add, &QAction::triggered, this, [this, misspelt] {
        const FileResult result = m_checker.addToPersonalWords(misspelt);
        if (!result.ok)
            QMessageBox::warning(m_text->window(), m_text->window()->windowTitle(),
                                 caption(QStringLiteral("spelling.addFailed"),
                                         QStringLiteral("The word list could not be saved:")) +
                                     QLatin1Char('\n') + result.reason);
    });
    menu->insertAction(first, add);
    menu->insertSeparator(first);
}
