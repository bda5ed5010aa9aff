#pragma once
// Scripted input for replays and tests: timed key and mouse events by pass
// number. One event per line, applied just before the pass of that number
// runs (passes count from 1); '#' starts a comment.
//
//   <pass> key down|up <KEY>     KEY: a name (UP, SPACE, ESCAPE, A ...) or a scan code 1..255
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
};

// Parses a script; false with a message naming the line when it is malformed.
bool ParseInputScript(const std::string& text, std::vector<ScriptEvent>& events, std::string& error);
bool LoadInputScript(const std::string& path, std::vector<ScriptEvent>& events, std::string& error);
