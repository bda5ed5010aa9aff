#pragma once
// CScreen: a screen of picture items built from its table. Items are plain
// pictures, buttons that light under the mouse, toggles, or members of a
// one-of-many choice. The frame polls the current screen once per pass and
// follows the activated item's action and target.

#include "gamedata/ScreenTables.h"
#include "imaging/CDib.h"

#include <memory>
#include <vector>

class CMouse;

// Where the pad's focus moves on a screen (in the order of the pad's focus
// commands, input/PadMapping.h).
enum class FocusDirection { Up, Down, Left, Right };

struct CScreenItem {
    int group = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    int frameWidth = 0, frameHeight = 0;
    int frame = 0;
    const ItemDesc* desc = nullptr;
    std::unique_ptr<CDib> picture; // owned by the screen
    ScreenPictureKind kind = PICTURE_SPRITE;

    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class CScreen {
public:
    // `backBuffer` is the game-wide surface every screen draws into.
    CScreen(ScreenId id, CDib* backBuffer, CMouse* mouse);
    CScreen(const CScreen&) = delete;
    CScreen& operator=(const CScreen&) = delete;

    virtual ~CScreen();
    virtual void Hover(int x, int y);
    // The item hit (the last one in table order), or -1.
    virtual int Click(int x, int y);
    virtual void Enter(bool keepStates);
    virtual void Leave();
    // The item the player activated this pass, or -1.
    virtual int Poll();
    virtual void Draw();

    ScreenId Id() const { return m_id; }
    int ItemCount() const { return int(m_items.size()); }
    CScreenItem& Item(int index) { return m_items[size_t(index)]; }
    const CScreenItem& Item(int index) const { return m_items[size_t(index)]; }
    ItemAction ActionOf(int item) const;
    ScreenId TargetOf(int item) const;
    // The last item in first..last (inclusive) whose frame is 1, or -1.
    int LastSelected(int first, int last) const;
    // The item the pad's focus goes to from the point (x, y), where the
    // pointer stands: from the item under it, the nearest one that lies that
    // way (its centre past the item's edge, straight lines preferred); from
    // no item, the item nearest the point, whichever way it lies. -1 when
    // there is none.
    int FocusNeighbour(int x, int y, FocusDirection direction) const;
    // A point of the item where a click reaches it (items may overlap: the
    // later one takes the click), as near its centre as there is one.
    // False when no point of it does.
    bool FocusPoint(int item, int& x, int& y) const;

protected:
    void LoadPicture(CScreenItem& item);
    void DrawItem(const CScreenItem& item, int x, int y);
    // The last item in table order with an action whose rectangle holds the
    // point, or -1.
    int ItemAt(int x, int y) const;

    ScreenId m_id;
    CDib* m_back;
    CMouse* m_mouse;
    std::vector<CScreenItem> m_items;
};

// Builds the screen class that fits the id.
std::unique_ptr<CScreen> NewScreen(ScreenId id, CDib* backBuffer, CMouse* mouse);
