#pragma once
// The geometry of the one plot that was precalculated last. The registry
// owns a single set; every precalculation empties it first and a failed
// one leaves it empty.
//
// Layout by kind (n graphs; grid sizes from QualitySettings):
//   plot            vertices: n*S x (x, y); flags n*S; colors: graph palette (64)
//   plot3d          vertices, normals: n*U*W x 3 floats, index g*U*W + j*U + k
//                   (j over the second variable); flags, colors one per vertex
//   tubeplot        as plot3d with U = tubeSides (ring points, the last one
//                   repeats the first), W = tubeSamples
//   implicitplot    vertices: n*G*G x (x, y, value), index g*G*G + j*G + k
//                   (j over y); flags one per point; colors: graph palette
//   spacecurve      vertices: n*S x 3 floats; flags, colors one per point
//   implicitplot3d  vertices, normals: aux.vertexCount x 3 floats; colors one
//                   per vertex; aux.polygons with their face normals
//   vectorplot      arrows: n*G*G x (bx, by, vx, vy); streams: n*G*G*S x (x, y)
//   vectorplot3d    arrows: n*G^3 x (bx, by, bz, vx, vy, vz); streams:
//                   n*G^3*S x (x, y, z); both: flags per arrow / stream point,
//                   colors: vector palette (64)
//   a vector plot holds streams when streamLength is not 0.
#include <array>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "plot/plot_record.h"

namespace vx {

// A std::allocator whose resize leaves new numbers unset. The generators
// write every entry of the large buffers anyway; filling them first would
// be one more pass over memory that nothing but a single thread touches,
// while the sampling threads would otherwise be the first to touch it.
template <typename T>
struct UnfilledAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnfilledAllocator<U>;
    };
    UnfilledAllocator() = default;
    template <typename U>
    UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* p) noexcept {
        static_assert(std::is_trivially_default_constructible_v<U>);
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
template <typename T>
using MeshVector = std::vector<T, UnfilledAllocator<T>>;

// One face of an extracted iso-surface.
struct MeshPolygon {
    std::array<float, 3> normal{};      // oriented unit face normal
    std::vector<std::int32_t> indices;  // output-vertex indices in drawing order
};

struct PolygonList {
    std::int32_t vertexCount = 0;
    std::vector<MeshPolygon> polygons;
};

struct MeshBuffers {
    PolygonList aux;                   // implicitplot3d only
    std::vector<PlotColour> colors;
    MeshVector<float> normals;         // 3 floats per entry
    MeshVector<float> vertices;        // entry size by kind, see above
    MeshVector<std::int32_t> flags;    // 1 valid (real), 0 not
    // The sizes the buffers were made with, so that readers need not look at
    // QualitySettings (which the user may change meanwhile).
    // gridU: samples (plot, spacecurve), U (plot3d), ring points (tubeplot),
    //        G (implicitplot, implicitplot3d, vector plots);
    // gridW: W (plot3d), samples (tubeplot), G (implicitplot), else 1.
    int gridU = 0, gridW = 0;
    int streamLength = 0;  // vector plots: points per stream; 0 in arrow mode

    bool empty() const {
        return aux.polygons.empty() && aux.vertexCount == 0 && colors.empty() && normals.empty() &&
               vertices.empty() && flags.empty();
    }
    // Releases every buffer (freeMeshBuffers).
    void release() { *this = MeshBuffers{}; }
};

}  // namespace vx
