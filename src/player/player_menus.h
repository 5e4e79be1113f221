#pragma once

#include <QKeySequence>
#include <QString>
#include <array>

class QAction;
class QMenu;
class QMenuBar;
namespace quillory {
class LanguageTable;
}

// The player's menu bar, made the way a designer's form is: the menus and
// items under their design names, with the captions and keys they start with.
// The window connects the items to its commands.
class PlayerMenus {
public:
    void setupMenus(QMenuBar *bar);
    // The captions of the language table (the show/hide items follow their state).
    void retranslateMenus(const quillory::LanguageTable &language);
    static QAction *addMenuItem(QMenu *menu, const char *name, const QString &caption,
                                const QKeySequence &shortcut = QKeySequence());

    QMenu *mnuFile = nullptr, *mnuRiproduzione = nullptr, *mnuVisualizza = nullptr,
          *mnuOpzioni = nullptr, *mnuDonazioni = nullptr, *mnuHelp = nullptr;
    QAction *mnuApri = nullptr, *mnuChiudi = nullptr, *mnuRiga = nullptr, *mnuR1 = nullptr,
            *mnuEsci = nullptr;
    std::array<QAction *, 4> mnuRecent{};
    QAction *mnuPlay = nullptr, *mnuStop = nullptr, *mnuIndietro = nullptr, *mnuAvanti = nullptr,
            *mnuVai = nullptr, *mnuAddBM = nullptr, *mnuBMsuccessivo = nullptr,
            *mnuBMprecedente = nullptr;
    QAction *mnuMostraNascondi = nullptr, *mnuBookMark = nullptr;
    QAction *mnuImpostaAudio = nullptr, *mnuSecIndietro = nullptr, *mnuSalto = nullptr,
            *mnuTitoloCompleto = nullptr, *mnuR2 = nullptr, *mnuLingua = nullptr,
            *mnuAggLingua = nullptr;
    QAction *mnuFaiDonazione = nullptr, *mnuGuida = nullptr, *mnuR3 = nullptr,
            *mnuAggiornamenti = nullptr, *mnuR4 = nullptr, *mnuInfo = nullptr;
};
