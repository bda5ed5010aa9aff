#pragma once
// How the hunter moves in one tick: on foot (walking and turning, or tilting
// the view and firing with the binoculars or the gun raised) or at the
// jeep's wheel; how the large things in his way push him back; and which
// cells of the scenery he can see. Pure functions of the pose, the jeep and
// the controls, so that the hunt's tick stays one readable sequence.

#include "game/GameSeams.h"
#include "game/hunt/HunterPose.h"

class CJeep;
class CWorldObject;

// The cells around the hunter that can be seen: his own, three ahead and
// three to each side (facing along a row) or the same turned.
struct CellWindow {
    int firstRow, rows, firstColumn, columns;
};

CellWindow VisibleCells(double x, double y, double angle);

// One tick on foot; true when the gun was fired. A hunter whose hunt has
// ended lies on the ground and does nothing.
bool StepOnFoot(HunterPose& hunter, CJeep& jeep, const HuntInput& input, const HuntToggles& toggles, double seconds,
                bool ended);

// One tick at the wheel: the pedals, the steering (only while a pedal is
// down) and the jeep following the hunter.
void StepDriving(HunterPose& hunter, CJeep& jeep, const HuntInput& input, double seconds);

// Sets the object's distance from the hunter; a large object just ahead
// pushes him (and the jeep he drives, which halts) back out of it.
void KeepOffAndMeasure(HunterPose& hunter, CJeep& jeep, CWorldObject& object);
