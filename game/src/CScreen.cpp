#include "game/CScreen.h"

#include "display/CDibDD.h"
#include "game/CMouse.h"
#include "game/TrophyFile.h"
#include "sprites/CDibPacked.h"
#include "sprites/CDibTrle.h"

CScreen::CScreen(int id, CDib* backBuffer, CMouse* mouse) : m_id(id), m_back(backBuffer), m_mouse(mouse)
{
    const ScreenTable table = ScreenTableFor(id);
    m_items.resize(size_t(table.count));
    for (int i = 0; i < table.count; ++i) {
        CScreenItem& item = m_items[size_t(i)];
        item.desc = &table.items[i];
        item.group = item.desc->group;
        item.kind = table.kind;
        if (table.kind == PICTURE_SPRITE)
            item.picture = new CDibTrle;
        else
            item.picture = new CDibDD;
        item.picture->LeaveRegistry(); // owned and deleted by the screen
    }
}

CScreen::~CScreen()
{
    for (CScreenItem& item : m_items)
        delete item.picture;
}

int CScreen::ActionOf(int item) const
{
    return item >= 0 && item < ItemCount() ? Item(item).desc->action : ACTION_NONE;
}

int CScreen::TargetOf(int item) const
{
    return item >= 0 && item < ItemCount() ? Item(item).desc->target : SCREEN_NONE;
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
        code = item.picture->Load(item.desc->picture, SRC_FILE);
    } else {
        code = item.picture->Load(item.desc->picture, SRC_FILE | LOAD_MATCH_REFERENCE, nullptr, nullptr, m_back);
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
        if (item.desc->action == ACTION_NONE || item.group != 0)
            continue;
        if (item.Contains(x, y)) {
            if (item.desc->frames > 1)
                item.frame = 1;
        } else {
            item.frame = 0;
        }
    }
}

int CScreen::Click(int x, int y)
{
    int hit = -1;
    for (int i = 0; i < ItemCount(); ++i) {
        CScreenItem& item = m_items[size_t(i)];
        if (item.desc->action == ACTION_NONE || !item.Contains(x, y))
            continue;
        hit = i;
        if (item.group > 0)
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
    if (hit >= 0 && ActionOf(hit) == ACTION_CHOICE) {
        for (int i = 0; i < ItemCount(); ++i)
            if (m_items[size_t(i)].group != 0)
                m_items[size_t(i)].frame = 0;
        m_items[size_t(hit)].frame = 1;
    }
    return hit;
}

void CScreen::DrawItem(const CScreenItem& item, int x, int y)
{
    if (!item.picture->IsCreated() || item.frameWidth <= 0 || item.frameHeight <= 0)
        return;
    m_back->Draw(x, y, item.frameWidth, item.frameHeight, item.picture, 0, item.frame * item.frameHeight,
                 item.frameWidth, item.frameHeight, BLIT_SRCKEY, 0);
}

void CScreen::Draw()
{
    for (const CScreenItem& item : m_items)
        DrawItem(item, item.left, item.top);
}

CPopupScreen::CPopupScreen(int id, CDib* backBuffer, CMouse* mouse) : CScreen(id, backBuffer, mouse)
{
    m_snapshot = new CDibDD;
    m_snapshot->LeaveRegistry();
    if (backBuffer && backBuffer->IsCreated())
        m_snapshot->Create(640, 480, backBuffer->GetFormat());
}

CPopupScreen::~CPopupScreen()
{
    delete m_snapshot;
}

void CPopupScreen::Enter(bool keepStates)
{
    CScreen::Enter(keepStates);
    if (m_snapshot->IsCreated())
        m_back->Blit(m_snapshot, 0, 0, 640, 480, 0, 0, 640, 480, 0, 0);
}

void CPopupScreen::Draw()
{
    if (m_snapshot->IsCreated())
        m_snapshot->Blit(m_back, 0, 0, 640, 480, 0, 0, 640, 480, 0, 0);
    CScreen::Draw();
}

CChoiceScreen::CChoiceScreen(int id, CDib* backBuffer, CMouse* mouse, int firstChoice, int choiceCount, int blankPlate)
    : CScreen(id, backBuffer, mouse), m_firstChoice(firstChoice), m_choiceCount(choiceCount), m_blankPlate(blankPlate)
{
}

void CChoiceScreen::Draw()
{
    // Every item, then the blank plate again and the plate of the choice on it.
    CScreen::Draw();
    DrawItem(Item(m_blankPlate), Item(m_blankPlate).left, Item(m_blankPlate).top);
    const int chosen = LastSelected(m_firstChoice, m_firstChoice + m_choiceCount - 1);
    if (chosen >= 0) {
        const CScreenItem& plate = Item(m_blankPlate + chosen - m_firstChoice + 1);
        DrawItem(plate, plate.left, plate.top);
    }
}

CTrophyScreen::CTrophyScreen(CDib* backBuffer, CMouse* mouse) : CScreen(SCREEN_TROPHIES, backBuffer, mouse) {}

void CTrophyScreen::Enter(bool keepStates)
{
    CScreen::Enter(keepStates);
    m_trophies = ReadTrophies();
    m_pageStart = 0;
}

void CTrophyScreen::Leave()
{
    // The pictures stay loaded; only the list goes.
    m_trophies.clear();
}

int CTrophyScreen::Click(int x, int y)
{
    const int hit = CScreen::Click(x, y);
    const int count = TrophyCount();
    if (hit == 8)
        m_pageStart = m_pageStart >= TROPHY_SLOTS ? m_pageStart - TROPHY_SLOTS : 0;
    else if (hit == 9) {
        m_pageStart += TROPHY_SLOTS;
        if (m_pageStart > count)
            m_pageStart = count / TROPHY_SLOTS * TROPHY_SLOTS;
    }
    return hit;
}

int CTrophyScreen::Poll()
{
    // No choices here: hover and click only.
    Hover(m_mouse->X(), m_mouse->Y());
    if (!m_mouse->TakeLeftPressed())
        return -1;
    return Click(m_mouse->X(), m_mouse->Y());
}

void CTrophyScreen::Draw()
{
    DrawItem(Item(0), Item(0).left, Item(0).top);
    int slot = 0;
    for (int i = m_pageStart; i < m_pageStart + TROPHY_SLOTS && i < TrophyCount(); ++i) {
        const int kind = m_trophies[size_t(i)];
        if (kind < ANIMAL_ELEPHANT || kind > ANIMAL_ZEBRA)
            continue;
        CScreenItem& item = Item(kind);
        item.left = kTrophySlotX[slot];
        item.top = kTrophySlotY[slot];
        item.right = item.left + item.frameWidth;
        item.bottom = item.top + item.frameHeight;
        DrawItem(item, item.left, item.top);
        ++slot;
    }
    for (int i = 8; i <= 10; ++i)
        DrawItem(Item(i), Item(i).left, Item(i).top);
}

CHudScreen::CHudScreen(CDib* backBuffer, CMouse* mouse) : CScreen(SCREEN_HUNT, backBuffer, mouse) {}

CScreen* NewScreen(int id, CDib* backBuffer, CMouse* mouse)
{
    switch (id) {
    case SCREEN_QUARRY: return new CChoiceScreen(id, backBuffer, mouse, 1, 7, 10);
    case SCREEN_WEAPON: return new CChoiceScreen(id, backBuffer, mouse, 1, 6, 9);
    case SCREEN_HUNT: return new CHudScreen(backBuffer, mouse);
    case SCREEN_TROPHIES: return new CTrophyScreen(backBuffer, mouse);
    case SCREEN_OPTIONS:
    case SCREEN_END_ELEPHANT: case SCREEN_END_GIRAFFE: case SCREEN_END_HIPPO: case SCREEN_END_LION:
    case SCREEN_END_JAIL: case SCREEN_END_KILLED: case SCREEN_END_LOST: case SCREEN_END_LIONESS:
    case SCREEN_END_RHINO: case SCREEN_END_ZEBRA:
        return new CPopupScreen(id, backBuffer, mouse);
    default:
        return new CScreen(id, backBuffer, mouse);
    }
}
