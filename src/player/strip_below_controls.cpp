#include "strip_below_controls.h"

#include <QEvent>
#include <QWidget>

StripBelowControls::StripBelowControls(QWidget *client, QWidget *strip,
                                       std::function<void()> resized)
    : QObject(client), m_client(client), m_strip(strip), m_designHeight(client->height()),
      m_resized(std::move(resized))
{
    strip->setParent(client);
    strip->installEventFilter(this);
    fit();
}

bool StripBelowControls::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_strip &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        fit();
    return false;
}

void StripBelowControls::fit()
{
    const int stripHeight = m_strip->sizeHint().isValid() ? m_strip->sizeHint().height() : 0;
    m_strip->setGeometry(0, m_designHeight, m_client->width(), stripHeight);
    const int height = m_designHeight + (m_strip->isVisibleTo(m_client) ? stripHeight : 0);
    if (height == m_client->height())
        return;
    m_client->setFixedHeight(height);
    if (m_resized)
        m_resized();
}
