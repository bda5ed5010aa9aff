#pragma once
// CStateLog: the --state-log file. One line per simulation tick of a hunt,
// plain text, so that two runs can be compared tick for tick with diff:
//
//   <tick> <seconds> <x> <y> <angle> <horizon> <drive> <speed> <animal>... <kills> <end>
//
// where seconds is the game time the tick has reached, x, y, angle and
// horizon are the hunter's position, view angle and horizon row, drive is 1
// while he drives, speed the jeep's, each animal is "x,y,state" in the
// herd's order, kills the kill report in hexadecimal and end the end status.
// The lines stream into a temporary file beside the target, which takes its
// place whole when the log is finished.

#include "common/CAtomicOutputFile.h"

#include <cstdint>
#include <string>

class CHuntWorld;

class CStateLog {
public:
    // Starts the file; false when it cannot be made there.
    bool Open(const std::string& path);
    // The tick's line, when a hunt is loaded; nothing otherwise.
    void Record(int64_t tick, double seconds, const CHuntWorld& hunt);
    // Writes what is left and puts the file in place; false on any failure.
    bool Finish();

    // One line, without its newline.
    static std::string Line(int64_t tick, double seconds, const CHuntWorld& hunt);

private:
    CAtomicOutputFile m_file;
    std::string m_pending;
    bool m_open = false;
};
