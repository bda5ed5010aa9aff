#include "render3d/PaintMesh.h"

#include "paint/Paint.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kSamples = 3;

Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 Normalised(Vec3 v)
{
    const double length = std::sqrt(Dot(v, v));
    return length > 1e-12 ? v * (1.0 / length) : Vec3{0, 0, -1};
}

// Cuts a polygon at z = near (keeps the part beyond).
std::vector<Vec3> ClipNear(const std::vector<Vec3>& points, double nearZ)
{
    std::vector<Vec3> out;
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec3 a = points[i], b = points[(i + 1) % points.size()];
        const bool aIn = a.z >= nearZ, bIn = b.z >= nearZ;
        if (aIn)
            out.push_back(a);
        if (aIn != bIn) {
            const double t = (nearZ - a.z) / (b.z - a.z);
            out.push_back(a + (b - a) * t);
        }
    }
    return out;
}

} // namespace

void Mesh::AddBox(Vec3 low, Vec3 high, uint32_t colour)
{
    const Vec3 corners[8] = {{low.x, low.y, low.z},  {high.x, low.y, low.z},  {high.x, high.y, low.z},
                             {low.x, high.y, low.z}, {low.x, low.y, high.z},  {high.x, low.y, high.z},
                             {high.x, high.y, high.z}, {low.x, high.y, high.z}};
    AddBlock(corners, colour);
}

void Mesh::AddBlock(const Vec3 (&c)[8], uint32_t colour)
{
    const int quads[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {3, 2, 6, 7}, {0, 3, 7, 4}, {1, 2, 6, 5}};
    for (const auto& q : quads)
        faces.push_back({{c[q[0]], c[q[1]], c[q[2]], c[q[3]]}, colour});
}

void Mesh::AddCylinder(Vec3 a, Vec3 b, double ra, double rb, int sides, uint32_t colour)
{
    const Vec3 axis = Normalised(b - a);
    const Vec3 helper = std::fabs(axis.y) < 0.9 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    const Vec3 u = Normalised(Cross(axis, helper)), v = Cross(axis, u);
    std::vector<Vec3> ringA, ringB;
    for (int i = 0; i < sides; ++i) {
        const double t = 2 * M_PI * (i + 0.5) / sides;
        const Vec3 d = u * std::cos(t) + v * std::sin(t);
        ringA.push_back(a + d * ra);
        ringB.push_back(b + d * rb);
    }
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        faces.push_back({{ringA[size_t(i)], ringA[size_t(j)], ringB[size_t(j)], ringB[size_t(i)]}, colour});
    }
    faces.push_back({ringA, colour});
    faces.push_back({ringB, colour});
}

void Mesh::Transform(Vec3 pivot, double pitch, double yaw, Vec3 offset)
{
    const double cp = std::cos(pitch), sp = std::sin(pitch), cy = std::cos(yaw), sy = std::sin(yaw);
    for (MeshFace& face : faces)
        for (Vec3& p : face.points) {
            Vec3 q = p - pivot;
            // Pitch: +z tips towards −y.
            q = {q.x, q.y * cp - q.z * sp, q.y * sp + q.z * cp};
            // Yaw: +z turns towards +x.
            q = {q.x * cy + q.z * sy, q.y, -q.x * sy + q.z * cy};
            p = q + pivot + offset;
        }
}

void Mesh::Append(const Mesh& other)
{
    faces.insert(faces.end(), other.faces.begin(), other.faces.end());
}

bool ProjectPoint(const MeshCamera& camera, Vec3 p, double& x, double& y)
{
    if (!camera.perspective) {
        x = camera.centreX + p.x * camera.scale;
        y = camera.centreY + p.y * camera.scale;
        return true;
    }
    if (p.z < 1e-6)
        return false;
    x = camera.centreX + camera.focal * p.x / p.z;
    y = camera.centreY + camera.focal * p.y / p.z;
    return true;
}

RgbaImage RenderMesh(const Mesh& mesh, const MeshCamera& camera, int width, int height)
{
    const int sw = width * kSamples, sh = height * kSamples;
    std::vector<double> depth(size_t(sw) * sh, std::numeric_limits<double>::infinity());
    std::vector<uint32_t> colour(size_t(sw) * sh, 0);
    const Vec3 light = Normalised({-0.5, -0.8, -0.35});
    for (const MeshFace& face : mesh.faces) {
        if (face.points.size() < 3)
            continue;
        // Flat shading with the face turned towards the viewer.
        Vec3 normal = Normalised(Cross(face.points[1] - face.points[0], face.points[2] - face.points[0]));
        const Vec3 toEye = camera.perspective ? face.points[0] * -1.0 : Vec3{0, 0, -1};
        if (Dot(normal, toEye) < 0)
            normal = normal * -1.0;
        const double diffuse = std::max(0.0, Dot(normal, light));
        const Vec3 half = Normalised(light + Normalised(toEye));
        const double shine = std::pow(std::max(0.0, Dot(normal, half)), 24) * 0.25;
        const uint32_t lit = MixColour(ShadeColour(face.colour, 0.42 + 0.75 * diffuse), Rgb(255, 255, 255), shine);

        const std::vector<Vec3> points = camera.perspective ? ClipNear(face.points, camera.nearZ) : face.points;
        if (points.size() < 3)
            continue;
        // Screen positions in samples, with the depth value to interpolate
        // (1/z in perspective, which is linear on the screen).
        // A point the camera cannot project (at its eye, with a clipping
        // plane at zero) leaves the face out rather than drawing it from
        // unset positions.
        std::vector<double> xs, ys, ws;
        bool projected = true;
        for (const Vec3& p : points) {
            double x = 0, y = 0;
            if (!ProjectPoint(camera, p, x, y)) {
                projected = false;
                break;
            }
            xs.push_back(x * kSamples);
            ys.push_back(y * kSamples);
            ws.push_back(camera.perspective ? 1.0 / p.z : -p.z);
        }
        if (!projected)
            continue;
        for (size_t t = 1; t + 1 < points.size(); ++t) {
            const size_t i0 = 0, i1 = t, i2 = t + 1;
            const double area = (xs[i1] - xs[i0]) * (ys[i2] - ys[i0]) - (xs[i2] - xs[i0]) * (ys[i1] - ys[i0]);
            if (std::fabs(area) < 1e-9)
                continue;
            const int x0 = std::max(0, int(std::floor(std::min({xs[i0], xs[i1], xs[i2]}))));
            const int x1 = std::min(sw - 1, int(std::ceil(std::max({xs[i0], xs[i1], xs[i2]}))));
            const int y0 = std::max(0, int(std::floor(std::min({ys[i0], ys[i1], ys[i2]}))));
            const int y1 = std::min(sh - 1, int(std::ceil(std::max({ys[i0], ys[i1], ys[i2]}))));
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    const double px = x + 0.5, py = y + 0.5;
                    const double b0 = ((xs[i1] - px) * (ys[i2] - py) - (xs[i2] - px) * (ys[i1] - py)) / area;
                    const double b1 = ((xs[i2] - px) * (ys[i0] - py) - (xs[i0] - px) * (ys[i2] - py)) / area;
                    const double b2 = 1.0 - b0 - b1;
                    if (b0 < 0 || b1 < 0 || b2 < 0)
                        continue;
                    const double w = b0 * ws[i0] + b1 * ws[i1] + b2 * ws[i2];
                    const double d = camera.perspective ? 1.0 / w : -w;
                    double& stored = depth[size_t(y) * sw + x];
                    if (d < stored) {
                        stored = d;
                        colour[size_t(y) * sw + x] = lit;
                    }
                }
        }
    }
    RgbaImage out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int r = 0, g = 0, b = 0, hits = 0;
            for (int j = 0; j < kSamples; ++j)
                for (int i = 0; i < kSamples; ++i) {
                    const uint32_t c = colour[size_t(y * kSamples + j) * sw + size_t(x * kSamples + i)];
                    if (!(c >> 24))
                        continue;
                    ++hits;
                    r += int((c >> 16) & 0xFF);
                    g += int((c >> 8) & 0xFF);
                    b += int(c & 0xFF);
                }
            if (hits * 2 > kSamples * kSamples)
                out.pixels[size_t(y) * width + x] = Rgb(r / hits, g / hits, b / hits);
        }
    return out;
}
