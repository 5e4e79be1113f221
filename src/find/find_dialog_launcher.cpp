#include "find_dialog_launcher.h"

#include "find/frm_find.h"

FindDialogLauncher::FindDialogLauncher(Editor editor, const quillory::LanguageTable &language,
                                       const quillory::Services &services,
                                       std::function<void(CompanionWindow *)> created)
    : m_editor(std::move(editor)), m_language(language), m_services(services),
      m_created(std::move(created))
{
}

FindDialogLauncher::~FindDialogLauncher()
{
    // Over an editor window the dialog ends with it; on its own it is ours.
    if (m_dialog && !m_dialog->parent())
        delete m_dialog.data();
}

frmFind *FindDialogLauncher::dialog() const
{
    return m_dialog.data();
}

void FindDialogLauncher::open()
{
    if (!m_editor.rtb)
        return;
    if (!m_dialog) {
        m_dialog =
            new frmFind(*m_editor.rtb, m_editor.tag, m_language, m_services, m_editor.window);
        if (m_editor.focus)
            m_dialog->setEditorFocus(m_editor.focus);
        if (m_created)
            m_created(m_dialog);
    }
    m_dialog->showFromEditor();
}
