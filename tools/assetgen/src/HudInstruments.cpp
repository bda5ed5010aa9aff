#include "CAssetSink.h"
#include "HudParts.h"
#include "Paint.h"
#include "TextPainter.h"

void GenerateHudItems(CAssetSink&, CTextPainter&) {}
void GenerateRadarMarks(CAssetSink&) {}
void GenerateBinoculars(CAssetSink&) {}
