#pragma once
// The pictures shown during a hunt, one writer per group of files.

class CAssetSink;
class CTextPainter;

// menu\gun1.bmp .. gun6.bmp: the hunter's view of each weapon, resting and firing.
void GenerateGunStrips(CAssetSink& sink);
// menu\smoke.bmp and menu\smoke2.bmp: the puffs at the muzzle.
void GenerateSmokePuffs(CAssetSink& sink);
// The hunt display's items: compass and wind dial, toggles, options button, labels.
void GenerateHudItems(CAssetSink& sink, CTextPainter& text);
// menu\bino.bmp: the binocular mask; menu\pt1.bmp and pt2.bmp: the radar marks.
void GenerateBinoculars(CAssetSink& sink);
void GenerateRadarMarks(CAssetSink& sink);
