#pragma once

class QFrame;
class QLabel;
class QPushButton;
class QWidget;
class PictureButton;
class PositionBar;
namespace quillory {
class LanguageTable;
}

// The player's controls on its client area, made the way a designer's form is:
// under their design names, at their design places in twips. The window
// connects them to its commands.
class PlayerControls {
public:
    void setupControls(QWidget *client);
    // The buttons' tooltips, accessible names and tags from the language table.
    void retranslateControls(const quillory::LanguageTable &language);

    PictureButton *cmdPlay = nullptr;
    PictureButton *cmdIndietro = nullptr;
    PictureButton *CmdStop = nullptr;
    PictureButton *CmdAvanz = nullptr;
    PictureButton *Image3 = nullptr;
    QPushButton *cmdVai = nullptr;
    PositionBar *Label2 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Shape2 = nullptr;
    QFrame *Shape3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Image4 = nullptr;
};
