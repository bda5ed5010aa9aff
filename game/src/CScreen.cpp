#include "game/CScreen.h"

#include "display/CDibDD.h"
#include "game/CMouse.h"
#include "sprites/CDibTrle.h"
#include "sprites/LoadPicture.h"

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
