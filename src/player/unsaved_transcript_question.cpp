#include "unsaved_transcript_question.h"

#include "contracts/transcript_editor.h"
#include "i18n/language_table.h"

using namespace quillory;

UnsavedTranscriptQuestion::UnsavedTranscriptQuestion(QWidget *owner, const Services &services,
                                                     const LanguageTable &language)
    : m_owner(owner), m_services(services), m_language(language)
{
}

UnsavedTranscriptQuestion::Answer UnsavedTranscriptQuestion::ask(TranscriptEditor &editor,
                                                                 const QString &title) const
{
    const QString text =
        m_language.T(75) + QStringLiteral(" ") + editor.untitledTitle() + QStringLiteral("?");
    const MsgResult answer = m_services.messages->show(m_owner, text, MsgButtons::YesNoCancel,
                                                       MsgIcon::Exclamation, title);
    if (answer == MsgResult::Cancel)
        return Answer::Cancelled;
    if (answer == MsgResult::Yes) {
        editor.saveAs();
        if (editor.hasUnsavedChanges())
            return Answer::NotSaved;
    }
    return Answer::GoOn;
}
