#include "frm_about.h"

#include "i18n/language_table.h"
#include "platform/files/program_folder.h"
#include "platform/product_info.h"
#include "platform/services/desktop_links.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

using namespace quillory;

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setAccessibleName(text);
    l->setGeometry(geometry);
    return l;
}

} // namespace

frmAbout::frmAbout(const LanguageTable &language, DesktopLinks *links, QWidget *parent)
    : QWidget(parent, Qt::Window), m_language(language), m_links(links)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setAccessibleName(QStringLiteral("About"));
    setFixedSize(440, 300);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setAccessibleName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    Frame1->setGeometry(10, 10, 420, 280);

    imgTitle = label(Frame1, "imgTitle", QString(), QRect(20, 14, 380, 80));
    imgTitle->setAccessibleName(product::name());
    imgTitle->setAlignment(Qt::AlignCenter);
    const QPixmap picture(ProgramFolder::file(QStringLiteral("Files/Image4.png")));
    if (!picture.isNull())
        imgTitle->setPixmap(
            picture.scaled(imgTitle->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));

    lblTitle = label(Frame1, "lblTitle", product::name(), QRect(20, 100, 380, 30));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = label(Frame1, "lblVersion", QStringLiteral("Rel. 1.0"), QRect(20, 132, 380, 20));
    lblDescription =
        label(Frame1, "lblDescription", QStringLiteral("Descrizione"), QRect(20, 156, 380, 44));
    lblDescription->setWordWrap(true);
    lblCredits = label(Frame1, "lblCredits", product::credits(), QRect(20, 204, 380, 34));
    lblCredits->setWordWrap(true);
    lblHomePageCap =
        label(Frame1, "lblHomePageCap", QStringLiteral("Home Page:"), QRect(20, 244, 90, 20));
    lblHomePage = label(Frame1, "lblHomePage", product::homePage(), QRect(110, 244, 290, 20));
    lblHomePage->setStyleSheet(QStringLiteral("color: #0645ad; text-decoration: underline;"));
    lblHomePage->setCursor(Qt::PointingHandCursor);
    lblHomePage->setToolTip(product::homePage());
    lblHomePage->installEventFilter(this);
}

void frmAbout::Form_Load()
{
    lblTitle->setText(product::name());
    lblVersion->setText(product::releaseText());
    lblDescription->setText(m_language.T(22));
    lblCredits->setText(product::credits() + QStringLiteral(" - ") + m_language.T(23));
    lblHomePage->setText(product::homePage());
    for (QLabel *l : {lblTitle, lblVersion, lblDescription, lblCredits, lblHomePage})
        l->setAccessibleName(l->text());
}

void frmAbout::lblHomePage_Click()
{
    // Nothing happens when the desktop cannot open it.
    if (m_links)
        m_links->openUrl(QUrl(product::homePage()));
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    // The link takes its own clicks: they open the home page and leave the box open.
    if (watched == lblHomePage) {
        if (event->type() == QEvent::MouseButtonPress)
            return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton &&
                lblHomePage->rect().contains(mouse->position().toPoint()))
                lblHomePage_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmAbout::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    event->accept();
}

void frmAbout::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (m_pressed) {
        m_pressed = false;
        close();
    }
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    m_pressed = false;
    event->accept();
    emit unloaded();
}
