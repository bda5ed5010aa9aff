#pragma once
// CDibDDRegion: a clip region that display surfaces accept. Its user value
// is the window whose visible area it follows.

#include "imaging/CDibRegion.h"

class CDibDDRegion : public CDibRegion {
public:
    CDibDDRegion() = default;
};
