#include "speed_loop_indicators.h"

#include "player/plain_colours.h"

#include "i18n/captions.h"
#include "platform/geometry/twips.h"

#include <QLabel>

using namespace quillory;

namespace {

QLabel *indicator(QLabel *label, const char *name, double top)
{
    label->setObjectName(QLatin1String(name));
    label->setGeometry(twipsRect(3555, top, 735, 255));
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(8.25);
    arial.setBold(true);
    label->setFont(arial);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
    return label;
}
} // namespace

SpeedLoopIndicators::SpeedLoopIndicators(QWidget *client)
{
    lblVelocita = indicator(new QLabel(client), "lblVelocita", 1290);
    plain_colours::setText(lblVelocita, QColor(0x1d, 0x5f, 0xa0));
    auto *loopTag = new TagLabel(client);
    lblCiclo = indicator(loopTag, "lblCiclo", 1590);
    plain_colours::setText(lblCiclo, Qt::white);
    loopTag->setBackground(QColor(0xc0, 0x50, 0x1f));
}

void SpeedLoopIndicators::show(PlaybackSpeed speed, bool looping, const QKeySequence &loopKey)
{
    const QString speedName = caption(QStringLiteral("speed.name"), QStringLiteral("Speed"));
    lblVelocita->setText(speed.label());
    lblVelocita->setToolTip(speedName + QStringLiteral(" ") + speed.label());
    lblVelocita->setAccessibleName(lblVelocita->toolTip());
    lblVelocita->setVisible(!speed.isNormal());

    lblCiclo->setText(caption(QStringLiteral("loop.indicator"), QStringLiteral("Loop")));
    lblCiclo->setToolTip(
        caption(QStringLiteral("loop.tooltip"), QStringLiteral("A loop is playing; %1 ends it"))
            .arg(loopKey.toString(QKeySequence::NativeText)));
    lblCiclo->setAccessibleName(lblCiclo->toolTip());
    lblCiclo->setVisible(looping);
}
