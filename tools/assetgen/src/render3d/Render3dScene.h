#pragma once
// Render3dScene: the solids of one posed model, in model space.

#include "render3d/Render3dPrimitive.h"

#include <vector>

class Render3dScene {
public:
    void Add(const Render3dPrimitive& primitive) { m_primitives.push_back(primitive); }
    const std::vector<Render3dPrimitive>& Primitives() const { return m_primitives; }
    bool Empty() const { return m_primitives.empty(); }

    // The lowest height any solid reaches.
    double LowestZ() const;
    // Moves everything up by `dz`.
    void Lift(double dz);
    // Stands the model on the ground plane z = 0: whatever pose it is in, its
    // lowest point (a hoof, a flank, a tyre) just touches the ground.
    void PutOnGround() { Lift(-LowestZ()); }

private:
    std::vector<Render3dPrimitive> m_primitives;
};
