#pragma once
// The game's data names are Windows paths relative to the game folder
// ("menu\cursor.bmp") and mix upper and lower case. MapDataPath turns such a
// name into a path that exists on this file system when it can.

#include <string>
#include <string_view>

// Replaces backslashes by slashes and joins the result to `baseFolder` (empty:
// the current folder). Each component that does not exist with its exact
// spelling is looked up case-insensitively in its folder; the first match in
// directory order wins. When nothing matches, the slash-converted path is
// returned as it stands, so the caller's open fails with the usual error.
std::string MapDataPath(std::string_view windowsPath, std::string_view baseFolder = {});

// Only the separator conversion, for names that are about to be created.
std::string ToNativeSeparators(std::string_view windowsPath);
