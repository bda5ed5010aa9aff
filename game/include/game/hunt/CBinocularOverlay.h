#pragma once
// CBinocularOverlay: the binoculars slide up over the view and show the
// centre of the picture magnified twice through the lens. The overlay keeps
// its own copy of the picture: each pass the lens area is restored from the
// picture, the view's centre is stretched into it where the copy still shows
// the lens colour, and the copy is drawn over the view by its colour key.

#include "imaging/DibRef.h"
#include "gamedata/ScreenTables.h"

class CDib;

enum class BinocularMode : int {
    Up = 1,
    Lowering = 4, // and lowered
    Raising = 5,
    Hidden = 6,
};

class CBinocularOverlay {
public:
    CBinocularOverlay();
    ~CBinocularOverlay();
    CBinocularOverlay(const CBinocularOverlay&) = delete;
    CBinocularOverlay& operator=(const CBinocularOverlay&) = delete;

    void Setup(CDib* back, CDib* picture, int x, int restingY, int frameCount);
    void SetMode(BinocularMode mode);
    void Step();
    void Draw();
    void SetActive(bool active) { m_active = active; }
    // Forgets the picture (its hunt is over).
    void Clear();

    BinocularMode Mode() const { return m_mode; }
    bool IsActive() const { return m_active; }
    int Y() const { return m_y; }

private:
    bool m_active = false;
    BinocularMode m_mode = BinocularMode::Lowering;
    CDib* m_back = nullptr;
    CDib* m_picture = nullptr;
    DibRef<CDib> m_image;
    int m_frameCount = 1;
    int m_x = 0, m_y = kBackBufferHeight, m_restingY = kBackBufferHeight;
    int m_frameWidth = 0, m_frameHeight = 0;
    int m_step = 20;
};
