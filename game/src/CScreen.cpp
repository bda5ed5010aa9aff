#include "game/CScreen.h"

#include "display/CDibDD.h"
#include "game/CMouse.h"
#include "sprites/CDibTrle.h"
#include "sprites/LoadPicture.h"

#include <climits>
#include <cstdlib>

CScreen::CScreen(ScreenId id, CDib* backBuffer, CMouse* mouse) : m_id(id), m_back(backBuffer), m_mouse(mouse)
{
    const ScreenTable table = ScreenTableFor(id);
    m_items.resize(size_t(table.count));
    for (int i = 0; i < table.count; ++i) {
        CScreenItem& item = m_items[size_t(i)];
        item.desc = &table.items[i];
        item.group = item.desc->group;
        item.kind = table.kind;
        if (table.kind == PICTURE_SPRITE)
            item.picture = std::make_unique<CDibTrle>();
        else
            item.picture = std::make_unique<CDibDD>();
    }
}

CScreen::~CScreen() = default;

ItemAction CScreen::ActionOf(int item) const
{
    return item >= 0 && item < ItemCount() ? Item(item).desc->action : ItemAction::None;
}

ScreenId CScreen::TargetOf(int item) const
{
    return item >= 0 && item < ItemCount() ? Item(item).desc->target : ScreenId::None;
}

int CScreen::LastSelected(int first, int last) const
{
    int selected = -1;
    for (int i = first; i <= last && i < ItemCount(); ++i)
        if (Item(i).frame == 1)
            selected = i;
    return selected;
}

void CScreen::LoadPicture(CScreenItem& item)
{
    item.picture->Destroy();
    DibResult code;
    if (item.kind == PICTURE_SPRITE) {
        code = ::LoadPicture(*item.picture, PictureSource::File(item.desc->picture));
    } else {
        code = ::LoadPicture(*item.picture, PictureSource::File(item.desc->picture), LOAD_MATCH_REFERENCE, m_back);
        if (code == DIB_OK)
            item.picture->SetSourceKey(item.picture->GetPixel(0, 0));
    }
    // A missing picture leaves the item empty: nothing drawn, nothing to click.
    if (code != DIB_OK || !item.picture->IsCreated()) {
        item.frameWidth = item.frameHeight = 0;
        return;
    }
    item.picture->SetFrameCount(item.desc->frames);
    item.frameWidth = item.picture->GetWidth();
    item.frameHeight = item.picture->GetHeight() / (item.desc->frames > 0 ? item.desc->frames : 1);
}

void CScreen::Enter(bool keepStates)
{
    for (CScreenItem& item : m_items) {
        LoadPicture(item);
        item.left = item.desc->x;
        item.top = item.desc->y;
        item.right = item.left + item.frameWidth;
        item.bottom = item.top + item.frameHeight;
        if (!keepStates)
            item.frame = item.group == 2 ? 1 : 0;
    }
}

void CScreen::Leave()
{
    for (CScreenItem& item : m_items)
        item.picture->Destroy();
}

void CScreen::Hover(int x, int y)
{
    for (CScreenItem& item : m_items) {
        if (item.desc->action == ItemAction::None || item.group != 0)
            continue;
        if (item.Contains(x, y)) {
            if (item.desc->frames > 1)
                item.frame = 1;
        } else {
            item.frame = 0;
        }
    }
}

int CScreen::ItemAt(int x, int y) const
{
    int hit = -1;
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i).desc->action != ItemAction::None && Item(i).Contains(x, y))
            hit = i;
    return hit;
}

int CScreen::FocusNeighbour(int x, int y, FocusDirection direction) const
{
    const auto focusable = [](const CScreenItem& item) {
        return item.desc->action != ItemAction::None && item.right > item.left && item.bottom > item.top;
    };
    const int from = ItemAt(x, y);
    int best = -1;
    long bestScore = LONG_MAX;
    for (int i = 0; i < ItemCount(); ++i) {
        const CScreenItem& item = Item(i);
        if (i == from || !focusable(item))
            continue;
        const int cx = (item.left + item.right) / 2, cy = (item.top + item.bottom) / 2;
        long score = 0;
        if (from < 0) {
            score = long(cx - x) * (cx - x) + long(cy - y) * (cy - y);
        } else {
            // How far the item lies that way, and how far off the straight line.
            const CScreenItem& here = Item(from);
            const int hx = (here.left + here.right) / 2, hy = (here.top + here.bottom) / 2;
            long along = 0, across = 0;
            switch (direction) {
            case FocusDirection::Up: along = cy < here.top ? hy - cy : 0, across = cx - hx; break;
            case FocusDirection::Down: along = cy >= here.bottom ? cy - hy : 0, across = cx - hx; break;
            case FocusDirection::Left: along = cx < here.left ? hx - cx : 0, across = cy - hy; break;
            case FocusDirection::Right: along = cx >= here.right ? cx - hx : 0, across = cy - hy; break;
            }
            if (along <= 0)
                continue;
            score = along + 2 * std::labs(across);
        }
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

bool CScreen::FocusPoint(int item, int& x, int& y) const
{
    const CScreenItem& it = Item(item);
    const int cx = (it.left + it.right) / 2, cy = (it.top + it.bottom) / 2;
    long best = LONG_MAX;
    // A coarse grid is enough: the pointer only has to land on the item.
    constexpr int kStep = 4;
    for (int py = it.top; py < it.bottom; py += kStep)
        for (int px = it.left; px < it.right; px += kStep) {
            const long distance = long(px - cx) * (px - cx) + long(py - cy) * (py - cy);
            if (distance < best && ItemAt(px, py) == item) {
                best = distance;
                x = px;
                y = py;
            }
        }
    if (ItemAt(cx, cy) == item) {
        x = cx;
        y = cy;
        return true;
    }
    return best != LONG_MAX;
}

int CScreen::Click(int x, int y)
{
    const int hit = ItemAt(x, y);
    // Every toggle under the point flips, not only the one reported.
    for (int i = 0; i < ItemCount(); ++i) {
        CScreenItem& item = m_items[size_t(i)];
        if (item.desc->action != ItemAction::None && item.group > 0 && item.Contains(x, y))
            item.frame ^= 1;
    }
    return hit;
}

int CScreen::Poll()
{
    Hover(m_mouse->X(), m_mouse->Y());
    if (!m_mouse->TakeLeftPressed())
        return -1;
    const int hit = Click(m_mouse->X(), m_mouse->Y());
    if (hit >= 0 && ActionOf(hit) == ItemAction::Choice) {
        for (CScreenItem& item : m_items)
            if (item.group != 0)
                item.frame = 0;
        m_items[size_t(hit)].frame = 1;
    }
    return hit;
}

void CScreen::DrawItem(const CScreenItem& item, int x, int y)
{
    if (!item.picture->IsCreated() || item.frameWidth <= 0 || item.frameHeight <= 0)
        return;
    m_back->Draw(x, y, item.frameWidth, item.frameHeight, item.picture.get(), 0, item.frame * item.frameHeight,
                 item.frameWidth, item.frameHeight, BLIT_SRCKEY, 0);
}

void CScreen::Draw()
{
    for (const CScreenItem& item : m_items)
        DrawItem(item, item.left, item.top);
}
