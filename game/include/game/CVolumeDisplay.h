#pragma once
// CVolumeDisplay: the small sign the volume and mute keys bring up for a
// moment at the top of the picture: a speaker and a row of bars rising to
// the volume, the bars dim and the speaker crossed while muted. It counts
// real time (passes' time), so it also comes and goes while the game is
// paused. Drawn last into the back buffer, over the screen and the pointer.

class CDib;

class CVolumeDisplay {
public:
    static constexpr double kShowSeconds = 1.5;

    // Shows `step` of `steps` (muted or not) for kShowSeconds from now.
    void Show(int step, int steps, bool muted);
    // A pass of `seconds`: true when the sign has just gone (the picture
    // under it needs drawing again).
    bool Advance(double seconds);
    bool Visible() const { return m_left > 0; }
    double SecondsLeft() const { return m_left > 0 ? m_left : 0; }
    void Draw(CDib* back) const;

    // Where it is drawn (for tests).
    static constexpr int kLeft = 252, kTop = 12, kWidth = 136, kHeight = 36;

private:
    double m_left = 0;
    int m_step = 0;
    int m_steps = 1;
    bool m_muted = false;
};
