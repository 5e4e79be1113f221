#include "editor/timestamp_dialog.h"

#include "i18n/captions.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace quillory;

TimestampDialog::TimestampDialog(const TimestampSettings &current, const QString &cancelCaption,
                                 QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TimestampDialog"));
    const QString title = caption(QStringLiteral("timestamp.title"), QStringLiteral("Timestamps"));
    setWindowTitle(title);
    setAccessibleName(title);

    auto *layout = new QVBoxLayout(this);
    auto *formats =
        new QGroupBox(caption(QStringLiteral("timestamp.format"), QStringLiteral("Format")), this);
    formats->setObjectName(QStringLiteral("fraFormat"));
    auto *formatLayout = new QVBoxLayout(formats);
    // The examples show one moment, 1 min 23.4 s into the recording, in each format.
    constexpr qint64 ExampleMs = 83400;
    for (int i = 0; i < Timestamps::FormatCount; ++i) {
        const QString example =
            Timestamps::format(ExampleMs, 0, static_cast<Timestamps::Format>(i));
        auto *option = new QRadioButton(example, formats);
        option->setObjectName(QStringLiteral("optFormat%1").arg(i));
        option->setAccessibleName(example);
        option->setChecked(static_cast<int>(current.format) == i);
        formatLayout->addWidget(option);
        optFormat[static_cast<size_t>(i)] = option;
    }
    layout->addWidget(formats);

    m_offsetLabel = new QLabel(
        caption(QStringLiteral("timestamp.offset"),
                QStringLiteral("Offset added to the media position (hh:mm:ss), for example the "
                               "time of day at which the recording started:")),
        this);
    m_offsetLabel->setObjectName(QStringLiteral("lblOffset"));
    m_offsetLabel->setWordWrap(true);
    layout->addWidget(m_offsetLabel);
    txtOffset = new QLineEdit(Timestamps::offsetText(current.offsetMs), this);
    txtOffset->setObjectName(QStringLiteral("txtOffset"));
    txtOffset->setAccessibleName(
        caption(QStringLiteral("timestamp.offsetName"), QStringLiteral("Offset")));
    txtOffset->setMaxLength(9);
    m_offsetLabel->setBuddy(txtOffset);
    layout->addWidget(txtOffset);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setText(cancelCaption);
    cancel->setAccessibleName(cancelCaption);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(txtOffset, &QLineEdit::textChanged, this, &TimestampDialog::offsetEdited);
}

void TimestampDialog::offsetEdited()
{
    buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(Timestamps::parseOffset(txtOffset->text()).has_value());
}

TimestampSettings TimestampDialog::settings() const
{
    TimestampSettings s;
    for (int i = 0; i < Timestamps::FormatCount; ++i)
        if (optFormat[static_cast<size_t>(i)]->isChecked())
            s.format = static_cast<Timestamps::Format>(i);
    s.offsetMs = Timestamps::parseOffset(txtOffset->text()).value_or(0);
    return s;
}
