#pragma once
// Private-profile (INI) files with the classic semantics the game and the
// setup tool share for "config.dat": case-insensitive section and key names,
// defaults when a file, section or key is absent, and writes that keep every
// other line and replace the whole file at once (temporary file and rename).

#include <string>
#include <vector>

// The key's value read as a decimal integer with optional sign, leading
// blanks skipped and reading stopped at the first other character ("12ab" is
// 12, "ab" is 0). `defaultValue` when the key is absent. Values beyond the
// 32-bit range saturate.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& path);
// The key's text (surrounding blanks removed), or `defaultValue`.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& path);
// Sets the key (adding the section or the key as needed). True when written.
// An existing file that cannot be read is never written (nor is a path "").
bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& path);

struct ProfileValue {
    std::string key;
    std::string value;
};
// Sets several keys of one section, in order, as WritePrivateProfileString
// would one by one, but with the file replaced once: a reader sees all of
// them or none.
bool WritePrivateProfileStrings(const std::string& section, const std::vector<ProfileValue>& values,
                                const std::string& path);
