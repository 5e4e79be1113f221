#pragma once

#include <QObject>

class Form1;

// The editor sits directly below the player. When the player grows or shrinks
// by a menu row (a language switch), an editor in that place moves with it.
class EditorFollowsPlayer : public QObject {
public:
    explicit EditorFollowsPlayer(Form1 *player);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Form1 *m_player;
};
