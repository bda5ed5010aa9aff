#include "generators/Generators.h"
#include "generators/MenuParts.h"
#include "paint/TextPainter.h"
#include "sink/CAssetSink.h"

// Every picture of the menu screens, the end pictures and the mouse pointer.
void GenerateMenus(CAssetSink& sink)
{
    CTextPainter text;
    GenerateCursor(sink);
    GenerateMainMenu(sink, text);
    GenerateQuarryMenu(sink, text);
    GenerateWeaponMenu(sink, text);
    GenerateScenarioMenu(sink, text);
    GenerateOptionsBox(sink, text);
    GenerateTrophyRoom(sink, text);
    GenerateCredits(sink, text);
    GenerateEndPictures(sink, text);
}
