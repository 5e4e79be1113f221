// The editor window is built on first use. At start-up that is right after the
// player's first frame, when the program hands over the work (otherwise at
// once, in the start-up order): the player is on screen sooner, and the editor
// follows a moment later in its usual place. Characters typed into the player
// meanwhile go to the editor.
#include "form1.h"
#include "platform/files/program_folder.h"
#include "player/early_keys.h"

#include <memory>

using namespace quillory;

QStringList Form1::firstFramePictures()
{
    QStringList paths;
    // In the order Form_Load shows them: the play button, all buttons, the
    // logo, then the volume knob and its track.
    for (const char *name : {"play.jpg", "Apri.bmp", "bac.jpg", "for.jpg", "stop.jpg", "Image4.png",
                             "knob.bmp", "track.bmp"})
        paths << ProgramFolder::file(QStringLiteral("Files/") + QLatin1String(name));
    return paths;
}

TranscriptEditor *Form1::editor() const
{
    auto *self = const_cast<Form1 *>(this);
    if (m_editorDue)
        self->finishEditorStart();
    else if (m_editor == nullptr)
        self->buildEditor();
    return m_editor;
}

TranscriptEditor *Form1::buildEditor()
{
    m_editor = m_editorFactory();
    // Under the player before anything is loaded.
    Form_Initialize();
    emit editorBuilt();
    return m_editor;
}

void Form1::startEditor(bool shown)
{
    m_editorShownAtStart = shown;
    if (!m_afterFirstFrame) {
        editor()->loadAtStart();
        m_editor->asWidget()->setVisible(shown);
        return;
    }
    m_editorDue = true;
    if (shown)
        m_earlyKeys = new EarlyKeys(this);
    m_afterFirstFrame([this] { finishEditorStart(); });
}

void Form1::finishEditorStart()
{
    if (!m_editorDue)
        return;
    m_editorDue = false;
    const std::unique_ptr<EarlyKeys> typed(m_earlyKeys);
    m_earlyKeys = nullptr;
    if (m_editor == nullptr)
        buildEditor();
    // What the start-up does for the editor, in its order: load it (with the
    // language), its recent list, then show or hide it.
    m_editor->loadAtStart();
    m_editor->loadRecentDocuments();
    if (m_ended)
        return;
    QWidget *window = m_editor->asWidget();
    window->setVisible(m_editorShownAtStart);
    if (!typed || typed->isEmpty() || !window->isVisible())
        return;
    // Typing goes on in the editor.
    ReturnFocus();
    typed->takeKeys().replayInto(m_editor->textArea());
}
