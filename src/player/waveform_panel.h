#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <memory>

class WaveformView;
namespace quillory {
class PlayerSession;
class WaveformLoader;
} // namespace quillory

// Connects the waveform strip to the session: the file that opens is loaded
// (and the old file's work cancelled), the position and the bookmarks follow
// the session, and clicks and drags on the strip seek through it as the
// position bar does. While the strip is switched off nothing is decoded.
class WaveformPanel : public QObject {
public:
    // A drag seeks at most this often; its release seeks where it ends.
    static constexpr int DragSeekIntervalMs = 40;

    WaveformPanel(quillory::PlayerSession &session, WaveformView *view,
                  std::unique_ptr<quillory::WaveformLoader> loader, QObject *parent = nullptr);
    ~WaveformPanel() override;

    void setShown(bool shown);
    bool isShown() const { return m_shown; }
    quillory::WaveformLoader &loader() { return *m_loader; }

private:
    void load();
    void showPosition();
    void showBookmarks();
    void seek(qint64 ms, bool final);

    quillory::PlayerSession &m_session;
    WaveformView *m_view;
    std::unique_ptr<quillory::WaveformLoader> m_loader;
    bool m_shown = false;
    QElapsedTimer m_lastDragSeek;
};
