#pragma once

#include "platform/services/services.h"

class QWidget;
class TranscriptEditor;
namespace quillory {
class LanguageTable;
}

// The question asked before the program ends with an unsaved transcript.
class UnsavedTranscriptQuestion {
public:
    // Cancel and Yes with a save that did not happen both keep the program
    // running; GoOn lets it end.
    enum class Answer { Cancelled, NotSaved, GoOn };

    UnsavedTranscriptQuestion(QWidget *owner, const quillory::Services &services,
                              const quillory::LanguageTable &language);

    Answer ask(TranscriptEditor &editor, const QString &title) const;

private:
    QWidget *m_owner;
    quillory::Services m_services;
    const quillory::LanguageTable &m_language;
};
