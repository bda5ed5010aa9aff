#pragma once
// The mouse as the screens read it: the position in back-buffer coordinates
// and a "pressed since the last check" latch for the left button, set by
// button-down events and cleared when read.

class CMouse {
public:
    void MoveTo(int x, int y)
    {
        m_x = x;
        m_y = y;
    }
    void OnLeftButton(bool down)
    {
        if (down && !m_leftDown)
            m_leftPressed = true;
        m_leftDown = down;
    }
    bool TakeLeftPressed()
    {
        bool pressed = m_leftPressed;
        m_leftPressed = false;
        return pressed;
    }
    int X() const { return m_x; }
    int Y() const { return m_y; }

private:
    int m_x = 0, m_y = 0;
    bool m_leftDown = false;
    bool m_leftPressed = false;
};
