#pragma once
// CSmokePuff: the puff at the muzzle after a shot, dissolving over seven
// passes through the stipple levels 224 down to 32.

class CDib;

class CSmokePuff {
public:
    // Centred on the aim point (halves rounded down). A null or empty
    // picture makes no smoke.
    void Setup(CDib* back, CDib* picture, int aimX, int aimY);
    void Restart() { m_level = 256; }
    void Step();
    void Draw();
    int Level() const { return m_level; }

private:
    int m_level = 0;
    CDib* m_back = nullptr;
    CDib* m_picture = nullptr;
    int m_x = 0, m_y = 0;
};
