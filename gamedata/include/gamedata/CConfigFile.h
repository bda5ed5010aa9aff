#pragma once
// CConfigFile: "config.dat", the one place that knows its section
// ("configuration"), its keys and what an absent value means. The game reads
// it at start; the setup tool reads it to show what the game will do and
// writes it. Every write replaces the whole file at once, keeps the lines it
// does not own, and never touches an existing file it cannot read.

#include "gamedata/GameConfig.h"

#include <string>
#include <utility>

class CConfigFile {
public:
    // `path` "" names no file (the player's files have no place): reads give
    // the defaults and writes fail.
    explicit CConfigFile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    // Absent values read as 0: 8-bit display, no key, no aid. While neither up nor
    // down is bound, all eight controls take their default keys, so that a
    // first run can be played and shows the setup tool's defaults.
    GameConfig Read() const;

    // Whether anything has the file's name (a folder of that name too).
    bool Exists() const;

    enum class Creation { Present, Created, Failed };
    // A first run's file, holding exactly "[configuration]" (no line end),
    // made only when nothing of that name exists.
    Creation CreateIfAbsent() const;

    // "highcolour" as 1 or 0. True when written.
    [[nodiscard]] bool WriteHighColour(bool highColour) const;
    // The eight keys, in the table's order, in one write. True when written.
    [[nodiscard]] bool WriteControlKeys(const ControlKeys& keys) const;
    // "volume" (0..kVolumeSteps) and "mute" (1 or 0), in one write. True
    // when written.
    [[nodiscard]] bool WriteSound(int volume, bool muted) const;
    // "fullscreen", "windowwidth", "windowheight" and "smoothscaling", in one
    // write (a value not kept is left out). True when written.
    [[nodiscard]] bool WriteWindow(const WindowState& window) const;
    // "audiodevice": the output's name ("" the default). True when written.
    [[nodiscard]] bool WriteAudioDevice(const std::string& name) const;
    // "quarryradar" and "aimreticle" (1 or 0), in one write. True when written.
    [[nodiscard]] bool WriteAids(const HuntAids& aids) const;

private:
    std::string m_path;
};
