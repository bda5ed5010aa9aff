#pragma once
// Every generated picture on one sheet, for people to look at.

#include "sink/CAssetSink.h"

#include <string>

bool WriteContactSheet(const std::vector<RecordedPicture>& pictures, const std::string& path);
