#include "render3d/Render3dScene.h"

#include <limits>

double Render3dScene::LowestZ() const
{
    if (m_primitives.empty())
        return 0;
    double lowest = std::numeric_limits<double>::infinity();
    for (const Render3dPrimitive& p : m_primitives)
        lowest = std::min(lowest, p.centre.z - p.Extent({0, 0, 1}));
    return lowest;
}

void Render3dScene::Lift(double dz)
{
    for (Render3dPrimitive& p : m_primitives)
        p.centre.z += dz;
}
