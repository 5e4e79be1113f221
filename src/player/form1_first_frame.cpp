// The editor window is built on first use. At start-up that is right after the
// player's first frame, when the program hands over the work (otherwise at
// once, in the start-up order): the player is on screen sooner, and the editor
// follows a moment later in its usual place. Characters typed into the player
// meanwhile go to the editor.
#include "editor/form2.h"
#include "editor/rich_text_box.h"
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

Form2 *Form1::form2() const
{
    auto *self = const_cast<Form1 *>(this);
    if (m_editorDue)
        self->finishEditorStart();
    else if (m_form2 == nullptr)
        self->buildEditor();
    return m_form2;
}

Form2 *Form1::buildEditor()
{
    m_form2 = new Form2(*this, m_language, m_services);
    // Under the player before anything is loaded.
    Form_Initialize();
    emit editorBuilt(m_form2);
    return m_form2;
}

void Form1::startEditor(bool shown)
{
    m_editorShownAtStart = shown;
    if (!m_afterFirstFrame) {
        form2()->Form_Load();
        m_form2->setVisible(shown);
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
    if (m_form2 == nullptr)
        buildEditor();
    // What the start-up does for the editor, in its order: load it (with the
    // language), its recent list, then show or hide it.
    m_form2->Form_Load();
    m_form2->LoadRecentDocuments();
    if (m_ended)
        return;
    m_form2->setVisible(m_editorShownAtStart);
    if (!typed || typed->isEmpty() || !m_form2->isVisible())
        return;
    // Typing goes on in the editor.
    ReturnFocus();
    typed->takeKeys().replayInto(m_form2->RTB);
}
