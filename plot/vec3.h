#pragma once
// Small double-precision vector arithmetic for the geometry code.
#include <cmath>

namespace vx {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
// Unit vector; a zero vector stays zero.
inline Vec3 normalised(Vec3 v) {
    double len = length(v);
    return len != 0 ? Vec3{v.x / len, v.y / len, v.z / len} : v;
}
inline Vec3 load3(const float* p) { return {p[0], p[1], p[2]}; }
inline void store3(float* p, Vec3 v) {
    p[0] = static_cast<float>(v.x);
    p[1] = static_cast<float>(v.y);
    p[2] = static_cast<float>(v.z);
}

}  // namespace vx
