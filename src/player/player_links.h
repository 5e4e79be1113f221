#pragma once

#include "i18n/language_table.h"
#include "platform/services/services.h"

class QUrl;
class QWidget;

// What the player's help and options menus open outside the program: the help
// page of the language, the update and donation pages, the system's sound
// settings and the translation page. A failure is told in a message box over
// the owner window.
class PlayerLinks {
public:
    PlayerLinks(QWidget *owner, const quillory::Services &services,
                quillory::LanguageTable &language);

    void openHelpPage();
    void openUpdatePage();
    void openDonationPage();
    void openSoundSettings();
    // Writes the translation page; false (and said) when it cannot be written.
    bool writeTranslationPage();
    void openTranslationPage();

private:
    void openLink(const QUrl &url);
    void tell(const QString &text);

    QWidget *m_owner;
    quillory::Services m_services;
    quillory::LanguageTable &m_language;
};
