#include "form2.h"

#include "dialogs/print_dialog.h"
#include "dialogs/show_color.h"
#include "editor/rich_text_box.h"
#include "editor/transcript_font.h"
#include "platform/services/print_system.h"
#include "platform/text/numeric_text.h"

#include <QComboBox>
#include <QSignalBlocker>

using namespace quillory;

void Form2::Label2_Click(int index)
{
    switch (index) {
    case 0:
        mnuNuovo_Click();
        break;
    case 1:
        mnuApri_Click();
        break;
    case 2:
        mnuSalva_Click();
        break;
    case 3:
        if (m_services.printing && PrintDialog(m_services.printing)
                                       .ShowPrinter(this, m_services.printing->currentPrinterName(),
                                                    PrintDialog::PrintSetup))
            RTB->SelPrint(m_services.printing->currentDevice());
        break;
    case 4:
    case 5:
    case 6:
    case 7:
    case 14:
        toggleAttribute(index);
        RTB->setFocus(Qt::OtherFocusReason);
        break;
    case 8:
        RTB->setSelAlignment(Qt::AlignLeft);
        RTB->setFocus(Qt::OtherFocusReason);
        break;
    case 9:
        RTB->setSelAlignment(Qt::AlignHCenter);
        RTB->setFocus(Qt::OtherFocusReason);
        break;
    case 10:
        RTB->setSelAlignment(Qt::AlignRight);
        RTB->setFocus(Qt::OtherFocusReason);
        break;
    case 11:
    case 12:
        // Over mixed sizes there is no current size to step from: nothing.
        if (const std::optional<double> size = RTB->SelFontSize())
            RTB->setSelFontSize(*size + (index == 11 ? 1 : -1));
        break;
    case 13:
        chooseColour();
        break;
    default:
        break;
    }
}

void Form2::mnuStampa_Click()
{
    Label2_Click(3);
}

void Form2::toggleAttribute(int index)
{
    // Exactly true turns off; false or mixed turns on.
    auto flip = [](const std::optional<bool> &value) { return !(value && *value); };
    switch (index) {
    case 4:
        RTB->setSelBold(flip(RTB->SelBold()));
        break;
    case 5:
        RTB->setSelItalic(flip(RTB->SelItalic()));
        break;
    case 6:
        RTB->setSelUnderline(flip(RTB->SelUnderline()));
        break;
    case 7:
        RTB->setSelStrikeThru(flip(RTB->SelStrikeThru()));
        break;
    case 14:
        RTB->setSelBullet(flip(RTB->SelBullet()));
        break;
    default:
        break;
    }
}

void Form2::chooseColour()
{
    ShowColor colour(m_services.colorDialogs);
    colour.hOwner = this;
    colour.Show();
    if (!colour.ColorAnnulla())
        RTB->setSelColor(ShowColor::toQRgb(colour.RGBResult));
}

// ---------------------------------------------------------------- font boxes

void Form2::showCaretFont()
{
    // What the caret types in, or the selection's font; blank where a
    // selection mixes several.
    const auto show = [](QComboBox *box, const QString &text) {
        const QSignalBlocker quiet(box);
        const int index = text.isEmpty() ? -1 : box->findText(text);
        box->setCurrentIndex(index);
        box->setEditText(text);
    };
    show(Combo1, RTB->SelFontName().value_or(QString()));
    const std::optional<double> size = RTB->SelFontSize();
    show(Combo2, size ? TranscriptFont::sizeText(*size) : QString());
}

void Form2::Combo1_Click()
{
    Combo1_Change();
}

void Form2::Combo1_Change()
{
    // Only a name picked from the list applies; typed text that is not the
    // list's current item does not.
    const int index = Combo1->currentIndex();
    if (index >= 0 && Combo1->currentText() == Combo1->itemText(index))
        RTB->setSelFontName(Combo1->currentText());
}

void Form2::Combo2_Click()
{
    Combo2_Change();
}

void Form2::Combo2_Change()
{
    applyFontSize(Combo2->currentText());
}

void Form2::applyFontSize(const QString &text)
{
    const std::optional<double> size = parseWholeNumber(text);
    // Sizes the file cannot store (beyond 1638 points) are refused like zero.
    if (!size || *size == 0 || *size > 1638)
        return;
    RTB->setSelFontSize(*size);
}
