#include "speed_loop_indicators.h"

#include "i18n/captions.h"
#include "platform/geometry/twips.h"

#include <QLabel>

using namespace quillory;

namespace {

QLabel *indicator(QWidget *parent, const char *name, double top)
{
    auto *label = new QLabel(parent);
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
    lblVelocita = indicator(client, "lblVelocita", 1290);
    lblVelocita->setStyleSheet(QStringLiteral("color: #1d5fa0; background: transparent;"));
    lblCiclo = indicator(client, "lblCiclo", 1590);
    lblCiclo->setStyleSheet(
        QStringLiteral("color: white; background: #c0501f; border-radius: 3px;"));
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
