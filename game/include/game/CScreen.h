#pragma once
// CScreen: a screen of picture items built from its table. Items are plain
// pictures, buttons that light under the mouse, toggles, or members of a
// one-of-many choice. The frame polls the current screen once per pass and
// follows the activated item's action and target.

#include "game/ScreenTables.h"
#include "imaging/CDib.h"

#include <vector>

class CMouse;

struct CScreenItem {
    int group = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    int frameWidth = 0, frameHeight = 0;
    int frame = 0;
    const ItemDesc* desc = nullptr;
    CDib* picture = nullptr;
    ScreenPictureKind kind = PICTURE_SPRITE;

    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class CScreen {
public:
    // `backBuffer` is the game-wide surface every screen draws into.
    CScreen(int id, CDib* backBuffer, CMouse* mouse);
    CScreen(const CScreen&) = delete;
    CScreen& operator=(const CScreen&) = delete;

    virtual ~CScreen();
    virtual void Hover(int x, int y);
    // The item hit (the last one in table order), or -1.
    virtual int Click(int x, int y);
    virtual void Enter(bool keepStates);
    virtual void Leave();
    virtual int Poll();
    virtual void Draw();

    int Id() const { return m_id; }
    int ItemCount() const { return int(m_items.size()); }
    CScreenItem& Item(int index) { return m_items[size_t(index)]; }
    const CScreenItem& Item(int index) const { return m_items[size_t(index)]; }
    int ActionOf(int item) const;
    int TargetOf(int item) const;
    // The last item in first..last (inclusive) whose frame is 1, or -1.
    int LastSelected(int first, int last) const;

protected:
    void LoadPicture(CScreenItem& item);
    void DrawItem(const CScreenItem& item, int x, int y);

    int m_id;
    CDib* m_back;
    CMouse* m_mouse;
    std::vector<CScreenItem> m_items;
};

// A box over a frozen picture of what was on the screen when it was entered
// (the options box, the end pictures).
class CPopupScreen : public CScreen {
public:
    CPopupScreen(int id, CDib* backBuffer, CMouse* mouse);
    ~CPopupScreen() override;
    void Enter(bool keepStates) override;
    void Draw() override;
    CDib* Snapshot() const { return m_snapshot; }

private:
    CDib* m_snapshot = nullptr;
};

// The quarry and weapon screens: a choice and the name plate of the choice.
class CChoiceScreen : public CScreen {
public:
    CChoiceScreen(int id, CDib* backBuffer, CMouse* mouse, int firstChoice, int choiceCount, int blankPlate);
    void Draw() override;

private:
    int m_firstChoice, m_choiceCount, m_blankPlate;
};

// The trophy room: three trophies a page, oldest first.
class CTrophyScreen : public CScreen {
public:
    CTrophyScreen(CDib* backBuffer, CMouse* mouse);
    int Click(int x, int y) override;
    void Enter(bool keepStates) override;
    void Leave() override;
    int Poll() override;
    void Draw() override;
    int PageStart() const { return m_pageStart; }
    int TrophyCount() const { return int(m_trophies.size()); }

private:
    int m_pageStart = 0;
    std::vector<int32_t> m_trophies;
};

// The hunt display around the 3D view. Its polling (keys, mutual exclusion
// of the toggles) comes with the hunt; until then it polls like any screen.
class CHudScreen : public CScreen {
public:
    CHudScreen(CDib* backBuffer, CMouse* mouse);
    bool Driving() const { return Item(3).frame == 1; }
    bool Binoculars() const { return Item(2).frame == 1; }
    bool Aiming() const { return Item(4).frame == 1; }
    void SetCompassFrame(int frame) { Item(0).frame = frame; }
    void SetWindFrame(int frame) { Item(1).frame = frame; }
};

// Builds the screen class that fits the id.
CScreen* NewScreen(int id, CDib* backBuffer, CMouse* mouse);
