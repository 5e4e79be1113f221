// What the player's first frame shows, and the editor it brings up after it
// (DeferredEditor).
#include "form1.h"
#include "platform/files/program_folder.h"

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
    return const_cast<DeferredEditor &>(m_editorStart).editor();
}
