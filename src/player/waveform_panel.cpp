#include "waveform_panel.h"

#include "player/waveform_scale.h"
#include "player/waveform_view.h"
#include "session/player_session.h"
#include "waveform/waveform_loader.h"

#include <algorithm>
#include <limits>

using namespace quillory;

WaveformPanel::WaveformPanel(PlayerSession &session, WaveformView *view,
                             std::unique_ptr<WaveformLoader> loader, QObject *parent)
    : QObject(parent), m_session(session), m_view(view), m_loader(std::move(loader))
{
    m_view->hide();
    connect(&session, &PlayerSession::opening, this, [this] {
        m_loader->close();
        m_view->setPeaks(nullptr);
    });
    connect(&session, &PlayerSession::mediaOpened, this, [this] {
        load();
        showPosition();
        showBookmarks();
    });
    connect(&session, &PlayerSession::mediaClosed, this, [this] {
        m_loader->close();
        m_view->setPeaks(nullptr);
        m_view->setPosition(0, 0);
        m_view->setBookmarks({});
    });
    connect(&session, &PlayerSession::positionShown, this, [this](double position, double length) {
        if (!m_shown)
            return;
        m_view->setPosition(position, length);
        m_loader->setPlayhead(position);
    });
    connect(&session, &PlayerSession::positionCleared, this, &WaveformPanel::showPosition);
    connect(&session, &PlayerSession::bookmarksLoaded, this, &WaveformPanel::showBookmarks);
    connect(&session, &PlayerSession::bookmarksLeft, this, &WaveformPanel::showBookmarks);
    connect(&session, &PlayerSession::bookmarksChanged, this, &WaveformPanel::showBookmarks);
    connect(m_loader.get(), &WaveformLoader::peaksChanged, m_view, &WaveformView::peaksChanged);
    connect(m_view, &WaveformView::seekRequested, this, &WaveformPanel::seek);
    session.addDisplay(this, [this](double position, double length) {
        if (!m_shown || !m_view->isVisible() || m_view->window()->isMinimized())
            return std::numeric_limits<double>::infinity();
        return WaveformScale::msUntilNextStep(position, length, m_view->width(),
                                              m_session.speed().factor());
    });
}

WaveformPanel::~WaveformPanel() = default;

void WaveformPanel::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    m_view->setVisible(shown);
    if (shown) {
        load();
        showPosition();
        showBookmarks();
    } else {
        m_loader->close();
        m_view->setPeaks(nullptr);
    }
}

void WaveformPanel::load()
{
    if (!m_shown || !m_session.hasMedia())
        return;
    m_loader->open(m_session.mediaPath(), m_session.position());
    m_view->setPeaks(m_loader->peaks());
}

void WaveformPanel::showPosition()
{
    if (!m_shown)
        return;
    const std::optional<double> length = m_session.length();
    const double position = length ? m_session.position() : 0.0;
    m_view->setPosition(position, length.value_or(0.0));
    m_loader->setPlayhead(position);
}

void WaveformPanel::showBookmarks()
{
    std::vector<double> marks;
    const BookmarkEntries &table = m_session.bookmarks();
    for (int i = 0; i < table.count(); ++i)
        if (const std::optional<std::int64_t> ms = BookmarkLine::positionOf(table.entry(i)))
            marks.push_back(static_cast<double>(*ms));
    m_view->setBookmarks(std::move(marks));
}

void WaveformPanel::seek(qint64 ms, bool final)
{
    if (!m_session.hasMedia())
        return;
    if (final) {
        m_session.playFromBar(ms);
        showPosition();
        return;
    }
    if (m_lastDragSeek.isValid() && m_lastDragSeek.elapsed() < DragSeekIntervalMs)
        return;
    m_lastDragSeek.start();
    m_session.seekKeepingState(ms);
}
