#include "common/PrivateProfile.h"

#include "common/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <strings.h>
#include <sys/stat.h>

namespace {

constexpr size_t kMaxProfileBytes = 1 << 20;

std::string Trim(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return {};
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The section name of a "[name]" line, or false.
bool SectionOf(const std::string& line, std::string& name)
{
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[')
        return false;
    size_t close = t.find(']');
    if (close == std::string::npos)
        return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value)
{
    size_t equals = line.find('=');
    if (equals == std::string::npos)
        return false;
    key = Trim(line.substr(0, equals));
    value = Trim(line.substr(equals + 1));
    return !key.empty() && key[0] != ';';
}

bool Find(const std::string& section, const std::string& key, const std::string& path, std::string& value)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxProfileBytes))
        return false;
    bool inSection = false;
    for (const std::string& line : SplitLines(bytes)) {
        std::string name, k, v;
        if (SectionOf(line, name))
            inSection = ::strcasecmp(name.c_str(), section.c_str()) == 0;
        else if (inSection && KeyOf(line, k, v) && ::strcasecmp(k.c_str(), key.c_str()) == 0) {
            value = v;
            return true;
        }
    }
    return false;
}

// Sets `key` in the lines of a profile: in place when the section has it,
// else after the section's last entry, else in a new section at the end.
void SetValue(std::vector<std::string>& lines, const std::string& section, const std::string& key,
              const std::string& value)
{
    bool inSection = false;
    int sectionEnd = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name, k, v;
        if (SectionOf(lines[i], name)) {
            if (inSection)
                break;
            inSection = ::strcasecmp(name.c_str(), section.c_str()) == 0;
            if (inSection)
                sectionEnd = int(i) + 1;
        } else if (inSection) {
            if (KeyOf(lines[i], k, v) && ::strcasecmp(k.c_str(), key.c_str()) == 0) {
                lines[i] = k + "=" + value;
                return;
            }
            if (!Trim(lines[i]).empty())
                sectionEnd = int(i) + 1;
        }
    }
    if (sectionEnd < 0) {
        lines.push_back("[" + section + "]");
        sectionEnd = int(lines.size());
    }
    lines.insert(lines.begin() + sectionEnd, key + "=" + value);
}

} // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& path)
{
    std::string value;
    return Find(section, key, path, value) ? value : defaultValue;
}

int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& path)
{
    std::string text;
    if (!Find(section, key, path, text))
        return defaultValue;
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX)
            return negative ? INT_MIN : INT_MAX;
    }
    return int(negative ? -value : value);
}

bool WritePrivateProfileStrings(const std::string& section, const std::vector<ProfileValue>& values,
                                const std::string& path)
{
    if (path.empty())
        return false;
    std::string bytes;
    // An absent file starts empty; one that exists but cannot be read (or is
    // beyond what this layer reads) is left alone, since rewriting it from
    // nothing would lose whatever it holds.
    if (!ReadWholeFile(path, bytes, kMaxProfileBytes)) {
        struct stat info;
        if (::lstat(path.c_str(), &info) == 0 || errno != ENOENT)
            return false;
        bytes.clear();
    }
    std::vector<std::string> lines = SplitLines(bytes);
    for (const ProfileValue& value : values)
        SetValue(lines, section, value.key, value.value);
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    return WriteFileAtomically(path, out.data(), out.size());
}

bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& path)
{
    return WritePrivateProfileStrings(section, {{key, value}}, path);
}
