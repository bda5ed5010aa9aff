#include "generators/Generators.h"
#include "generators/HudParts.h"
#include "paint/TextPainter.h"
#include "sink/CAssetSink.h"

// Everything the hunter sees over the hunt: the display on the right edge,
// the radar marks, the binoculars, the six guns and their smoke.
void GenerateHud(CAssetSink& sink)
{
    CTextPainter text;
    GenerateHudItems(sink, text);
    GenerateRadarMarks(sink);
    GenerateBinoculars(sink);
    GenerateGunStrips(sink);
    GenerateSmokePuffs(sink);
}
