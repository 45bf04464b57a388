#pragma once
// Polyhedra as lists: V, the 3V vertex coordinates, F, then the faces, each
// a run of 0-based vertex indices whose length is set by a preceding
// face-size marker k*i. The built-ins drawsolid, stellate and dualpolyhedron.
#include <vector>

#include "engine/expression.h"
#include "plot/vec3.h"

namespace vx {

struct Polyhedron {
    std::vector<Vec3> vertices;
    std::vector<std::vector<int>> faces;
};

// False when the list is not a well-formed polyhedron: counts that do not
// match the list length, non-integral or out-of-range indices, faces of
// fewer than 3 vertices, or a face before the first size marker.
bool parsePolyhedron(const std::vector<Complex>& list, Polyhedron& out);
std::vector<Complex> encodePolyhedron(const Polyhedron& p);
Vec3 faceCentroid(const Polyhedron& p, const std::vector<int>& face);

Polyhedron stellatePolyhedron(const Polyhedron& p, double h);
Polyhedron dualOf(const Polyhedron& p);  // faces may have fewer than 3 vertices

Tag bDrawsolid(class Eval& ev, const Args& a, Value& out);
Tag bStellate(class Eval& ev, const Args& a, Value& out);
Tag bDualpolyhedron(class Eval& ev, const Args& a, Value& out);

}  // namespace vx
