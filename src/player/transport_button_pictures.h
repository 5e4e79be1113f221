#pragma once

#include <array>
#include <functional>

class PlayerControls;

// The pictures of the player's five buttons and their hover states: a button
// under the pointer shows its second picture, and the open button sinks a
// little while hovered.
class TransportButtonPictures {
public:
    enum Button { Open = 0, Play = 1, Back = 2, Forward = 3, Stop = 4 };

    // `playing` tells which picture the play button shows.
    TransportButtonPictures(PlayerControls &controls, std::function<bool()> playing);

    // At start: the open button's home, and every button's resting picture.
    void loadAtStart();
    void hovered(int button);
    // The pointer is over none of the buttons.
    void leftButtons();
    void unhover(int button);
    // The play button's picture after a change of state.
    void refreshPlay() { load(Play, m_hover[Play]); }
    bool isHovered(int button) const { return m_hover[static_cast<size_t>(button)]; }
    void putOpenButtonHome();

private:
    void load(int button, bool hover);

    PlayerControls &m_controls;
    std::function<bool()> m_playing;
    std::array<bool, 5> m_hover{};
    int m_openButtonTop = 0; // twips
    int m_openButtonLeft = 0;
};
