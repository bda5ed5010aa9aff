#pragma once
// SynthCurve: a value that moves in straight lines between points in time
// (a pitch contour, a loudness shape). Before the first point it holds the
// first value, after the last point the last value.

#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

class SynthCurve {
public:
    // Points in increasing time.
    SynthCurve(std::initializer_list<std::pair<double, double>> points) : m_points(points) {}
    explicit SynthCurve(std::vector<std::pair<double, double>> points) : m_points(std::move(points)) {}

    double At(double t) const
    {
        if (m_points.empty())
            return 0.0;
        if (t <= m_points.front().first)
            return m_points.front().second;
        for (size_t i = 1; i < m_points.size(); ++i)
            if (t < m_points[i].first) {
                const auto& [t0, v0] = m_points[i - 1];
                const auto& [t1, v1] = m_points[i];
                return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
            }
        return m_points.back().second;
    }
    double End() const { return m_points.empty() ? 0.0 : m_points.back().first; }

private:
    std::vector<std::pair<double, double>> m_points;
};
