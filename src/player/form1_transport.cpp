// The window's side of the transport: the buttons and menu items run the
// session's commands, and the session's signals drive what the window shows.
#include "form1.h"

#include "i18n/captions.h"
#include "platform/media/media_error.h"
#include "player/picture_button.h"
#include "player/position_bar.h"
#include "player/position_display.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

using namespace quillory;

void Form1::connectSession()
{
    m_positionDisplay = new PositionDisplay(this, Label2, Shape1);
    connect(&m_session, &PlayerSession::playStateChanged, this, &Form1::showPlayState);
    connect(&m_session, &PlayerSession::playPauseDone, this, &Form1::ReturnFocus);
    connect(&m_session, &PlayerSession::positionShown, this, &Form1::showPosition);
    m_session.addDisplay(m_positionDisplay, [display = m_positionDisplay](double p, double l) {
        return display->msUntilChange(p, l);
    });
    connect(m_positionDisplay, &PositionDisplay::shownAgain, this, [this] {
        if (m_session.isTicking())
            m_session.tick();
    });
    connect(&m_session, &PlayerSession::positionCleared, m_positionDisplay,
            &PositionDisplay::clear);
    connect(&m_session, &PlayerSession::opening, this, [this] {
        Label4->show();
        Shape3->show();
    });
    connect(&m_session, &PlayerSession::openFailed, this, &Form1::errore);
    connect(&m_session, &PlayerSession::transportReady, this,
            [this] { setTransportEnabled(true); });
    connect(&m_session, &PlayerSession::mediaOpened, this, &Form1::showOpenedMedia);
    connect(&m_session, &PlayerSession::mediaClosed, this, [this] {
        Shape1->hide();
        m_positionDisplay->clear();
        Label4->hide();
        Shape3->hide();
        setTransportEnabled(false);
    });
    // A bookmark file that cannot be written is never lost in silence.
    connect(&m_session, &PlayerSession::bookmarksNotSaved, this, [this](const QString &reason) {
        m_services.messages->show(this,
                                  caption(QStringLiteral("bookmarks.notSaved"),
                                          QStringLiteral("The BookMarks could not be saved: %1"))
                                      .arg(reason),
                                  MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
    });
}

void Form1::setTransportEnabled(bool enabled)
{
    for (QAction *a : {mnuChiudi, mnuPlay, mnuStop, mnuAvanti, mnuIndietro, mnuVai})
        a->setEnabled(enabled);
    for (QAbstractButton *b :
         std::initializer_list<QAbstractButton *>{cmdPlay, CmdStop, CmdAvanz, cmdIndietro, cmdVai})
        b->setEnabled(enabled);
}

void Form1::mnuChiudi_Click()
{
    m_session.close();
}

void Form1::errore(std::uint32_t code)
{
    m_services.messages->show(this, mediaErrorText(code), MsgButtons::Ok, MsgIcon::None,
                              m_productTitle);
    mnuEsci_Click();
}

void Form1::showPlayState(PlayState state)
{
    // The button keeps the state's text, as the language table names it.
    cmdPlay->tag = m_language.T(state == PlayState::NotPlaying ? 7 : 8);
    m_buttonPictures.refreshPlay();
    if (state == PlayState::Playing) {
        cmdVai->setEnabled(true);
        cmdIndietro->setEnabled(true);
        CmdAvanz->setEnabled(true);
        Shape1->show();
    }
}

void Form1::ReturnFocus()
{
    if (QWidget *window = editorWidget(); window->isVisible()) {
        window->activateWindow();
        window->raise();
        editor()->focusText();
    } else {
        m_services.windowSwitcher->activatePreviousWindow(this);
    }
}

void Form1::cmdPlay_Click()
{
    m_session.playPause();
}

void Form1::mnuStop_Click()
{
    m_session.stop();
}

void Form1::cmdAvanz_click()
{
    m_session.jumpForward();
    ReturnFocus();
}

void Form1::cmdIndietro_Click()
{
    m_session.jumpBack();
    ReturnFocus();
}
