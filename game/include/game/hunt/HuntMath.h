#pragma once
// The hunt's ground and angles. The hunting area is the square of
// kHuntAreaSide world units from (0, 0).
//
// Angles of the hunt: radians from the +x axis towards +y. Headings and view
// angles live in [0, 2π); a value that leaves the range by less than a turn
// is brought back by adding or subtracting 2π once.

#include <cmath>
#include <numbers>

constexpr double kHuntAreaSide = 20000;

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// One turn added or taken away, as the motion rules do: [0, 2π] for values
// within one turn of the range.
inline double WrapOnce(double angle)
{
    if (angle < 0)
        angle += kTwoPi;
    else if (angle > kTwoPi)
        angle -= kTwoPi;
    return angle;
}

// Into [0, 2π) whatever the value (non-finite values become 0).
inline double WrapAngle(double angle)
{
    if (!std::isfinite(angle))
        return 0;
    angle = std::fmod(angle, kTwoPi);
    if (angle < 0)
        angle += kTwoPi;
    return angle >= kTwoPi ? 0 : angle;
}

// Into (−π, π].
inline double WrapSigned(double angle)
{
    angle = WrapAngle(angle);
    return angle > kPi ? angle - kTwoPi : angle;
}

// The bearing from (px, py) to (qx, qy) in [0, 2π).
inline double BearingTo(double px, double py, double qx, double qy)
{
    return WrapAngle(std::atan2(qy - py, qx - px));
}

// The 30° sector of an angle in [0, 2π): k (2..12) when (k−1)·π/6 < v <
// k·π/6; 1 for [0, π/6], for a value exactly on a boundary and for 2π. The
// compass shows sector − 1; animals smell the hunter when the sector of the
// way to him equals the wind frame.
inline int Sector(double v)
{
    for (int k = 2; k <= 12; ++k)
        if (v > (k - 1) * kPi / 6 && v < k * kPi / 6)
            return k;
    return 1;
}

// The strip that shows an object with `heading` seen along `bearing`: the
// nearest of the eight directions to bearing + π − heading; 0 is the front,
// 4 the back.
inline int DirectionIndex(double bearing, double heading)
{
    const double rel = WrapAngle(bearing + kPi - heading);
    for (int k = 1; k < 8; ++k)
        if (rel > k * kPi / 4 - kPi / 8 && rel <= k * kPi / 4 + kPi / 8)
            return k;
    return 0;
}
