#pragma once

#include "editor/timestamps.h"

#include <QDialog>
#include <array>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The timestamp settings: one of the four formats, each shown as an example,
// and the offset added to the media position. OK stays disabled while the
// offset is not a time of the form hh:mm:ss.
class TimestampDialog : public QDialog {
    Q_OBJECT
public:
    TimestampDialog(const quillory::TimestampSettings &current, const QString &cancelCaption,
                    QWidget *parent = nullptr);

    quillory::TimestampSettings settings() const;

    std::array<QRadioButton *, quillory::Timestamps::FormatCount> optFormat{};
    QLineEdit *txtOffset = nullptr;
    QDialogButtonBox *buttons = nullptr;

private:
    void offsetEdited();
    QLabel *m_offsetLabel = nullptr;
};
