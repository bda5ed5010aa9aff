#pragma once
// The trophy room: three trophies a page, oldest first.

#include "game/CScreen.h"

#include "gamedata/DataFiles.h"

#include <cstdint>
#include <string>

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
    // The trophy record shown ("trophy.bin" in the current folder unless set).
    void SetRecordPath(std::string path) { m_recordPath = std::move(path); }

private:
    std::string m_recordPath = kTrophyFile;
    int m_pageStart = 0;
    std::vector<int32_t> m_trophies;
};
