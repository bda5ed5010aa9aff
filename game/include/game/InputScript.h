#pragma once
// Scripted input for replays and tests: timed key and mouse events by pass
// number or by game time. One event per line; '#' starts a comment. An event
// by pass is applied just before the pass of that number runs (passes count
// from 1). An event by game time ("2.5s") is applied just before the first
// simulation tick that starts at or after that time, so it reaches the game
// at the same tick whatever the passes' rate.
//
//   <pass> key down|up <KEY>     KEY: a name (UP, SPACE, ESCAPE, A ...) or a scan code 1..255
//   <seconds>s key down|up <KEY> the same at a game time, e.g. "2.5s key down UP"; so are the others
//   <pass> mouse <x> <y>         move to back-buffer coordinates
//   <pass> button down|up        the left mouse button
//   <pass> click                 left button down and up
//   <pass> focus lost|gained     the window loses or regains the focus
//   <pass> quit                  close the window

#include <string>
#include <vector>

struct ScriptEvent {
    enum Kind { Key, Mouse, Button, Focus, Quit } kind;
    int pass = 0;
    int a = 0; // key code, x, or 1 for down/gained
    int b = 0; // y
    double seconds = -1; // the game time of a timed event (pass is then 0); -1 for events by pass

    bool Timed() const { return seconds >= 0; }
};

// Parses a script; false with a message naming the line when it is malformed.
// The events come sorted: those by pass in pass order, then the timed ones in
// time order (each kind keeping the order of its lines).
bool ParseInputScript(const std::string& text, std::vector<ScriptEvent>& events, std::string& error);
bool LoadInputScript(const std::string& path, std::vector<ScriptEvent>& events, std::string& error);
