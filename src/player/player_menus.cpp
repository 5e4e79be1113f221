#include "player_menus.h"

#include "i18n/language_table.h"
#include "session/recent_list.h"

#include <QMenu>
#include <QMenuBar>

using namespace quillory;

QAction *PlayerMenus::addMenuItem(QMenu *menu, const char *name, const QString &caption,
                                  const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void PlayerMenus::setupMenus(QMenuBar *bar)
{
    auto menu = [&](const char *name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto separator = [](QMenu *m, const char *name) {
        QAction *a = m->addSeparator();
        if (name)
            a->setObjectName(QLatin1String(name));
        return a;
    };

    mnuFile = menu("mnuFile", QStringLiteral("&File"));
    mnuApri = addMenuItem(mnuFile, "mnuApri", QStringLiteral("&Apri file..."),
                          QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuChiudi = addMenuItem(mnuFile, "mnuChiudi", QStringLiteral("&Chiudi file multimediale"),
                            QKeySequence(Qt::CTRL | Qt::Key_F4));
    mnuChiudi->setEnabled(false);
    mnuRiga = separator(mnuFile, "mnuRiga");
    mnuRiga->setVisible(false);
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "mnuRecent" + QByteArray::number(i + 1);
        mnuRecent[static_cast<size_t>(i)] =
            addMenuItem(mnuFile, name.constData(), RecentList::placeholder(i));
        mnuRecent[static_cast<size_t>(i)]->setVisible(false);
    }
    mnuR1 = separator(mnuFile, "mnuR1");
    mnuEsci = addMenuItem(mnuFile, "mnuEsci", QStringLiteral("&Esci"),
                          QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuRiproduzione = menu("mnuRiproduzione", QStringLiteral("&Riproduzione"));
    mnuPlay =
        addMenuItem(mnuRiproduzione, "mnuPlay", QStringLiteral("&Play"), QKeySequence(Qt::Key_F5));
    mnuStop = addMenuItem(mnuRiproduzione, "mnuStop", QStringLiteral("&Stop"));
    mnuIndietro = addMenuItem(mnuRiproduzione, "mnuIndietro", QStringLiteral("&Indietro"),
                              QKeySequence(Qt::Key_F6));
    mnuAvanti = addMenuItem(mnuRiproduzione, "mnuAvanti", QStringLiteral("&Avanti"),
                            QKeySequence(Qt::Key_F7));
    mnuVai = addMenuItem(mnuRiproduzione, "mnuVai", QStringLiteral("Vai a..."));
    mnuVai->setVisible(false);
    mnuVai->setEnabled(false);
    separator(mnuRiproduzione, nullptr);
    mnuAddBM = addMenuItem(mnuRiproduzione, "mnuAddBM", QStringLiteral("Aggiungi BookMark"),
                           QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuBMsuccessivo = addMenuItem(mnuRiproduzione, "mnuBMsuccessivo",
                                  QStringLiteral("Vai al BookMark successivo"));
    mnuBMprecedente = addMenuItem(mnuRiproduzione, "mnuBMprecedente",
                                  QStringLiteral("Vai al BookMark precedente"));

    mnuVisualizza = menu("mnuVisualizza", QStringLiteral("&Visualizza"));
    mnuMostraNascondi =
        addMenuItem(mnuVisualizza, "mnuMostraNascondi", QStringLiteral("Mostra l'editor di testo"));
    mnuBookMark = addMenuItem(mnuVisualizza, "mnuBookMark", QStringLiteral("Mostra &BookMark"),
                              QKeySequence(Qt::Key_F8));

    mnuOpzioni = menu("mnuOpzioni", QStringLiteral("&Opzioni"));
    mnuImpostaAudio = addMenuItem(mnuOpzioni, "mnuImpostaAudio",
                                  QStringLiteral("&Imposta audio..."), QKeySequence(Qt::Key_F9));
    separator(mnuOpzioni, nullptr);
    mnuSecIndietro =
        addMenuItem(mnuOpzioni, "mnuSecIndietro", QStringLiteral("Secondi indietro su &pausa..."));
    mnuSalto =
        addMenuItem(mnuOpzioni, "mnuSalto", QStringLiteral("&Salto avanti / indietro secondi..."));
    separator(mnuOpzioni, nullptr);
    mnuTitoloCompleto =
        addMenuItem(mnuOpzioni, "mnuTitoloCompleto", QStringLiteral("Mostra percorso file"),
                    QKeySequence(Qt::Key_F11));
    mnuTitoloCompleto->setCheckable(true);
    mnuR2 = separator(mnuOpzioni, "mnuR2");
    mnuLingua = addMenuItem(mnuOpzioni, "mnuLingua", QStringLiteral("&Lingua..."),
                            QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuAggLingua = addMenuItem(mnuOpzioni, "mnuAggLingua", QStringLiteral("Aggiungi Lingua..."));

    mnuDonazioni = menu("mnuDonazioni", QStringLiteral("&Donazioni"));
    mnuFaiDonazione =
        addMenuItem(mnuDonazioni, "mnuFaiDonazione", QStringLiteral("&Fai una donazione"));

    mnuHelp = menu("mnuHelp", QStringLiteral("&?"));
    mnuGuida =
        addMenuItem(mnuHelp, "mnuGuida", QStringLiteral("&Guida..."), QKeySequence(Qt::Key_F1));
    mnuR3 = separator(mnuHelp, "mnuR3");
    mnuAggiornamenti =
        addMenuItem(mnuHelp, "mnuAggiornamenti", QStringLiteral("&Controlla aggiornamenti..."));
    mnuR4 = separator(mnuHelp, "mnuR4");
    mnuInfo = addMenuItem(mnuHelp, "mnuInfo", QStringLiteral("&Informazioni sul programma..."),
                          QKeySequence(Qt::CTRL | Qt::Key_F1));
}

void PlayerMenus::retranslateMenus(const LanguageTable &L)
{
    mnuFile->setTitle(L.T(2));
    mnuApri->setText(L.T(3));
    mnuChiudi->setText(L.T(4));
    mnuEsci->setText(L.T(5));
    mnuRiproduzione->setTitle(L.T(6));
    mnuPlay->setText(L.T(7));
    mnuStop->setText(L.T(9));
    mnuAvanti->setText(L.T(10));
    mnuIndietro->setText(L.T(11));
    mnuVai->setText(L.T(12));
    mnuOpzioni->setTitle(L.T(13));
    mnuSalto->setText(L.T(14));
    mnuSecIndietro->setText(L.T(30));
    mnuLingua->setText(QStringLiteral("&") + L.T(15));
    mnuDonazioni->setTitle(L.T(74));
    mnuFaiDonazione->setText(L.T(17));
    mnuGuida->setText(L.T(16));
    mnuAggiornamenti->setText(L.T(18));
    mnuInfo->setText(L.T(19));
    mnuTitoloCompleto->setText(L.T(80));
    mnuImpostaAudio->setText(L.T(81));
    mnuVisualizza->setTitle(L.T(87));
    mnuAddBM->setText(L.T(93));
    mnuBMsuccessivo->setText(L.T(94));
    mnuBMprecedente->setText(L.T(95));
}
