#include "deferred_editor.h"

#include "player/early_keys.h"

#include <QWidget>
#include <memory>

using namespace quillory;

DeferredEditor::DeferredEditor(QWidget *player, Hooks hooks)
    : m_player(player), m_hooks(std::move(hooks))
{
}

TranscriptEditor *DeferredEditor::editor()
{
    if (m_due)
        finishStart();
    else if (m_editor == nullptr)
        build();
    return m_editor;
}

TranscriptEditor *DeferredEditor::build()
{
    m_editor = m_factory();
    m_hooks.built();
    return m_editor;
}

void DeferredEditor::start(bool shown)
{
    m_shownAtStart = shown;
    if (!m_afterFirstFrame) {
        editor()->loadAtStart();
        m_editor->asWidget()->setVisible(shown);
        return;
    }
    m_due = true;
    if (shown)
        m_earlyKeys = new EarlyKeys(m_player);
    m_afterFirstFrame([this] { finishStart(); });
}

void DeferredEditor::finishStart()
{
    if (!m_due)
        return;
    m_due = false;
    const std::unique_ptr<EarlyKeys> typed(m_earlyKeys);
    m_earlyKeys = nullptr;
    if (m_editor == nullptr)
        build();
    // What the start-up does for the editor, in its order: load it (with the
    // language), its recent list, then show or hide it.
    m_editor->loadAtStart();
    m_editor->loadRecentDocuments();
    if (m_hooks.ended())
        return;
    QWidget *window = m_editor->asWidget();
    window->setVisible(m_shownAtStart);
    if (!typed || typed->isEmpty() || !window->isVisible())
        return;
    // Typing goes on in the editor.
    m_hooks.returnFocus();
    typed->takeKeys().replayInto(m_editor->textArea());
}
