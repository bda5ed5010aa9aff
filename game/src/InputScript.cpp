#include "game/InputScript.h"

#include "common/AtomicFile.h"
#include "common/KeyCodes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

bool ParseKey(const std::string& word, int& code)
{
    if (!word.empty() && std::all_of(word.begin(), word.end(), ::isdigit)) {
        code = std::stoi(word.size() > 4 ? std::string("0") : word);
        return code >= 1 && code <= 255;
    }
    code = DikFromName(word.c_str());
    return code != 0;
}

// Plain decimal seconds ("12", "2.5", ".05"), at most a day.
bool ParseSeconds(const std::string& word, double& seconds)
{
    if (word.empty() || word.size() > 12 || std::count(word.begin(), word.end(), '.') > 1 ||
        !std::all_of(word.begin(), word.end(), [](char c) { return std::isdigit(uint8_t(c)) || c == '.'; }) ||
        word == ".")
        return false;
    seconds = std::strtod(word.c_str(), nullptr);
    return seconds <= 86400;
}

} // namespace

bool ParseInputScript(const std::string& text, std::vector<ScriptEvent>& events, std::string& error)
{
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string passWord, verb;
        if (!(words >> passWord))
            continue;
        auto fail = [&](const char* why) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        ScriptEvent event{ScriptEvent::Quit, 0, 0, 0};
        if (!passWord.empty() && passWord.back() == 's') {
            if (!ParseSeconds(passWord.substr(0, passWord.size() - 1), event.seconds))
                return fail("a game time is seconds followed by s, such as 2.5s");
        } else {
            if (!std::all_of(passWord.begin(), passWord.end(), ::isdigit) || passWord.size() > 9)
                return fail("a pass number or a game time comes first");
            event.pass = std::stoi(passWord);
            if (event.pass < 1)
                return fail("passes count from 1");
        }
        words >> verb;
        std::string arg;
        if (verb == "key") {
            std::string key;
            if (!(words >> arg >> key) || (arg != "down" && arg != "up") || !ParseKey(key, event.a))
                return fail("expected: key down|up <KEY>");
            event.kind = ScriptEvent::Key;
            event.b = arg == "down";
        } else if (verb == "mouse") {
            if (!(words >> event.a >> event.b))
                return fail("expected: mouse <x> <y>");
            event.kind = ScriptEvent::Mouse;
        } else if (verb == "button") {
            if (!(words >> arg) || (arg != "down" && arg != "up"))
                return fail("expected: button down|up");
            event.kind = ScriptEvent::Button;
            event.a = arg == "down";
        } else if (verb == "click") {
            event.kind = ScriptEvent::Button;
            event.a = 1;
            events.push_back(event);
            event.a = 0;
        } else if (verb == "focus") {
            if (!(words >> arg) || (arg != "lost" && arg != "gained"))
                return fail("expected: focus lost|gained");
            event.kind = ScriptEvent::Focus;
            event.a = arg == "gained";
        } else if (verb == "quit") {
            event.kind = ScriptEvent::Quit;
        } else {
            return fail("unknown event");
        }
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(), [](const ScriptEvent& x, const ScriptEvent& y) {
        if (x.Timed() != y.Timed())
            return !x.Timed();
        return x.Timed() ? x.seconds < y.seconds : x.pass < y.pass;
    });
    return true;
}

bool LoadInputScript(const std::string& path, std::vector<ScriptEvent>& events, std::string& error)
{
    std::string text;
    if (!ReadWholeFile(path, text, 16 << 20)) {
        error = "cannot read " + path;
        return false;
    }
    return ParseInputScript(text, events, error);
}
