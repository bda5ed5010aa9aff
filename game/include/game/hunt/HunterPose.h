#pragma once
// Where the hunter stands and looks. The horizon row moves when the view
// tilts (binoculars, aiming) and drops to 10 once the hunt has ended badly.

constexpr double EYE_HEIGHT_ON_FOOT = 48;
constexpr double EYE_HEIGHT_DRIVING = 80;

struct HunterPose {
    double x = 10500, y = 10500;
    double eyeHeight = EYE_HEIGHT_ON_FOOT;
    int horizon = 240;
    double angle = 0;
};
