#include "CAssetSink.h"
#include "Generators.h"

// Placeholder until this part of the data is generated.
void GenerateMenus(CAssetSink&) {}
