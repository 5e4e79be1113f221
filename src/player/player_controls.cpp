#include "player_controls.h"

#include "player/plain_colours.h"

#include "i18n/language_table.h"
#include "platform/geometry/twips.h"
#include "player/picture_button.h"
#include "player/position_bar.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

// Tooltips show "&" literally; the accelerator marks of menu texts are dropped.
QString tooltip(const QString &entry)
{
    QString text = entry;
    text.replace(QLatin1String("&&"), QString(QChar(0x1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0x1), QLatin1Char('&'));
    return QStringLiteral(" ") + text + QStringLiteral(" ");
}

template <typename W> W *place(W *widget, const char *name, double l, double t, double w, double h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QLatin1String(name));
    widget->setGeometry(twipsRect(l, t, w, h));
    return widget;
}

} // namespace

void PlayerControls::setupControls(QWidget *client)
{
    Image4 = place(new QLabel(client), "Image4", 270, 270, 3570, 840);
    Image4->setScaledContents(true);
    Shape3 = place(new QFrame(client), "Shape3", 120, 180, 4005, 945);
    plain_colours::setBoxed(Shape3, Qt::white, QColor(0x9a, 0xa3, 0xad));
    Label4 = place(new QLabel(client), "Label4", 210, 240, 3825, 825);
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    plain_colours::setText(Label4, QColor(0x20, 0x20, 0x20));
    Shape3->hide();
    Label4->hide();

    Image3 = place(new PictureButton(QCoreApplication::translate("Form1", "Open"), client),
                   "Image3", 330, 1290, 660, 570);
    cmdPlay = place(new PictureButton(QCoreApplication::translate("Form1", "Play"), client),
                    "cmdPlay", 1140, 1200, 720, 735);
    cmdIndietro =
        place(new PictureButton(QStringLiteral("<<"), client), "cmdIndietro", 1950, 1320, 465, 480);
    CmdStop =
        place(new PictureButton(QStringLiteral("[]"), client), "CmdStop", 2490, 1320, 465, 480);
    CmdAvanz =
        place(new PictureButton(QStringLiteral(">>"), client), "CmdAvanz", 3030, 1320, 465, 480);
    Image3->setToolTip(QStringLiteral(" Apri file... "));
    cmdVai =
        place(new QPushButton(QStringLiteral("&Vai a..."), client), "cmdVai", 2880, 390, 735, 405);
    cmdVai->hide();
    for (PictureButton *b : {cmdPlay, cmdIndietro, CmdStop, CmdAvanz})
        b->setEnabled(false);
    cmdVai->setEnabled(false);

    Shape2 = place(new QFrame(client), "Shape2", 120, 1980, 4695, 285);
    plain_colours::setBoxed(Shape2, QColor(0x2b, 0x30, 0x38), QColor(0x6c, 0x76, 0x82));
    Shape1 = place(new QFrame(client), "Shape1", 150, 2010, 4635, 225);
    plain_colours::setFill(Shape1, QColor(0x3d, 0x8b, 0xd4));
    Label2 = place(new PositionBar(client), "Label2", 150, 2010, 4635, 240);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(8.25);
    Label2->setFont(arial);
    Label2->setAlignment(Qt::AlignCenter);
    plain_colours::setText(Label2, Qt::white);
    Label2->setText(QStringLiteral("0:00 / 0:00"));
    // Frames and labels drawn over the buttons never take the mouse.
    for (QWidget *w : std::initializer_list<QWidget *>{Image4, Label4, Shape1, Shape2, Shape3})
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PlayerControls::retranslateControls(const quillory::LanguageTable &L)
{
    Image3->setToolTip(tooltip(L.T(3)));
    cmdPlay->setToolTip(tooltip(L.T(78)));
    CmdStop->setToolTip(tooltip(L.T(79)));
    CmdAvanz->tag = L.T(10) + QStringLiteral(" ->");
    CmdAvanz->setToolTip(tooltip(L.T(77)));
    cmdIndietro->tag = QStringLiteral("<- ") + L.T(11);
    cmdIndietro->setToolTip(tooltip(L.T(76)));
    for (QWidget *w :
         std::initializer_list<QWidget *>{Image3, cmdPlay, CmdStop, CmdAvanz, cmdIndietro})
        w->setAccessibleName(w->toolTip().trimmed());
}
