#pragma once

#include <QString>

// The player's commands that other windows run (the editor's function keys, the
// bookmark list). The transport commands take no argument.
class PlayerCommands {
public:
    virtual ~PlayerCommands() = default;
    virtual void cmdPlay_Click() = 0;
    virtual void cmdAvanz_click() = 0;
    virtual void cmdIndietro_Click() = 0;
    virtual void mnuEsci_Click() = 0;
    virtual void mnuBookMark_Click() = 0;
    // A named bookmark at the current position; the keyboard goes back to
    // the window that asked once it is named.
    virtual void mnuAddBM_Click() {}
    virtual void mnuTitoloCompleto_Click() = 0;
    virtual void mnuGuida_Click() = 0;
    virtual void mnuImpostaAudio_Click() = 0;

    // Settings the editor shares with the player.
    virtual QString languageFile() const = 0;
    virtual QString editorFolder() const = 0;
    virtual void setEditorFolder(const QString &folder) = 0;

    // Timestamps in the transcript: whether a media file is open, where it is,
    // and playing from a position as a bookmark does (playing on a little before
    // it, or staying paused there).
    virtual bool hasMedia() = 0;
    virtual qint64 mediaPositionMs() = 0;
    virtual void playFromMediaPosition(qint64 ms) = 0;
    // The open media's length, which a subtitle file's last cue runs to; 0 when
    // none is open or it is not known.
    virtual qint64 mediaLengthMs() { return 0; }
    // Playback speed and the loop over the last seconds heard.
    virtual void mnuPiuLento_Click() {}
    virtual void mnuPiuVeloce_Click() {}
    virtual void mnuVelocitaNormale_Click() {}
    virtual void mnuCiclo_Click() {}
};
