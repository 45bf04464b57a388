// Sampling on several threads gives the mesh, the bounds and the message
// of the single-thread run; graphs with effects stay on one thread.
#include <cstdlib>
#include <cstring>

#include "plot/sampler_pool.h"
#include "tests/plot/plot_fixture.h"

namespace vx::testing {
namespace {

// Sets VEXALO_THREADS for one scope.
class ForcedThreads {
public:
    explicit ForcedThreads(int n) { ::setenv("VEXALO_THREADS", std::to_string(n).c_str(), 1); }
    ~ForcedThreads() { ::unsetenv("VEXALO_THREADS"); }
};

// Bit for bit, so that NaN coordinates compare too.
template <typename Vector>
bool sameBits(const Vector& a, const Vector& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
}

struct Outcome {
    bool ready = false;
    std::string output;
    MeshBuffers mesh;
    Box3D box;
    View2D view;
};

class SamplerPoolTest : public PlotTest {
protected:
    Outcome precalcOn(int threads, int slot) {
        ForcedThreads forced(threads);
        host.clearLog();
        Outcome o;
        o.ready = precalc(slot);
        o.output = host.output();
        o.mesh = plots.mesh;
        o.box = plots.slots[static_cast<size_t>(slot)].box3D;
        o.view = plots.slots[static_cast<size_t>(slot)].view2D;
        return o;
    }
};

TEST_F(SamplerPoolTest, ThreadsGiveTheOneThreadResult) {
    struct Case {
        const char* statement;
        const char* output;  // "" when it succeeds
    };
    const Case cases[] = {
        {"plot3d(sin(u)*cos(w), u, -3, 3, w, -3, 3)", ""},
        {"plot3d(f(u, w), u, -1, 1, w, -1, 1)", ""},  // a pure user function, recursive
        {"plot3d(sqrt(u)+sum(k*w, k, 1, 4), u, -1, 1, w, 0, 1)", ""},
        {"plot3d([u, w, u*w], u, 0, 2, w, 0, 3, coords=spherical)", ""},
        {"plot3d(ln(u*w), u, -1, 1, w, -1, 1)", ""},  // infinities and invalid corners
        {"implicitplot(x^2-y^2-1, x, -2, 2, y, -2, 2)", ""},
        {"implicitplot3d(x^2+y^2+z^2-1, x, -2, 2, y, -2, 2, z, -2, 2)", ""},
        {"implicitplot3d(f(x, y)-z, x, -2, 2, y, -2, 2, z, -2, 2, coords=cylindrical)", ""},
        {"plot(x*sin(1/x), x, -1, 1)", ""},
        {"spacecurve([cos(t), sin(t), t], t, 0, 10, coords=cylindrical)", ""},
        {"tubeplot([cos(t), sin(t), t, 0.1+t/20], t, 0, 10)", ""},
        {"spacecurve(if(t>0.9, [t, t], if(t>0.5, [t, t, t, t, t], [t, t, t])), t, 0, 1)", "(spacecurve) Error: Syntax\r\n"},
        // The first failing point in grid order is reported, even when a
        // later one fails first on another thread.
        {"plot3d(if(w>0.9, nosuch1, if(w>0.5, nosuch2, u)), u, 0, 1, w, 0, 1)", "Error: Unknown Variable 'nosuch2'\r\n"},
        {"implicitplot3d(if(x>1.5, {x}, 1/(y-y)), x, -2, 2, y, -2, 2, z, -2, 2)", "Error: Division by Zero\r\n"},
        {"plot3d(if(u>0.99, [u], u), u, 0, 1, w, 0, 1)", "(plot3d) Error: Data Type\r\n"},
    };
    run("newfunc(f, a, b, if(a<0, -f(-a, b), a^2-b))");
    plots.quality.plotSamples = 3000;
    plots.quality.plot3dSamplesU = 64;  // normals and colours in several ranges
    plots.quality.plot3dSamplesV = 200;
    plots.quality.spacecurveSamples = 3000;
    plots.quality.tubeSamples = 1500;
    for (const Case& c : cases) {
        std::string answer = run1(c.statement);
        int slot = plots.slotForTab(host.tabCount() - 1);
        ASSERT_GE(slot, 0) << c.statement << ": " << answer;
        Outcome one = precalcOn(1, slot), many = precalcOn(3, slot);
        EXPECT_EQ(one.ready, c.output[0] == 0) << c.statement << ": " << one.output;
        EXPECT_EQ(one.output, c.output) << c.statement;
        EXPECT_EQ(many.output, one.output) << c.statement;
        EXPECT_EQ(many.ready, one.ready) << c.statement;
        EXPECT_TRUE(sameBits(many.mesh.vertices, one.mesh.vertices)) << c.statement;
        EXPECT_TRUE(sameBits(many.mesh.normals, one.mesh.normals)) << c.statement;
        EXPECT_TRUE(sameBits(many.mesh.flags, one.mesh.flags)) << c.statement;
        if (!isPlot2D(plots.slots[static_cast<size_t>(slot)].kind)) {  // 2D palettes are partly random
            EXPECT_TRUE(sameBits(many.mesh.colors, one.mesh.colors)) << c.statement;
        }
        ASSERT_EQ(many.mesh.aux.polygons.size(), one.mesh.aux.polygons.size()) << c.statement;
        for (size_t k = 0; k < one.mesh.aux.polygons.size(); ++k)
            ASSERT_EQ(many.mesh.aux.polygons[k].indices, one.mesh.aux.polygons[k].indices) << c.statement;
        EXPECT_EQ(std::memcmp(&many.box, &one.box, sizeof one.box), 0) << c.statement;
        EXPECT_EQ(std::memcmp(&many.view, &one.view, sizeof one.view), 0) << c.statement;
        run("delplot(" + std::to_string(slot) + ")");
    }
}

TEST_F(SamplerPoolTest, OnlyGraphsWithoutEffectsRunInParallel) {
    struct Case {
        const char* statement;
        bool parallel;
    };
    const Case cases[] = {
        {"plot3d(u*w, u, 0, 1, w, 0, 1)", true},
        {"plot3d(pure(u)+w, u, 0, 1, w, 0, 1)", true},
        {"plot3d(u+nosuchfunction(w), u, 0, 1, w, 0, 1)", true},
        {"plot3d(defines(u), u, 0, 1, w, 0, 1)", false},
        {"plot3d(pure(u)+callsRandom(w), u, 0, 1, w, 0, 1)", false},
        {"plot3d(seq(delete(q);, u*w), u, 0, 1, w, 0, 1)", false},
        {"implicitplot3d(x+y+z+size(plot3d(x, x, 0, 1, y, 0, 1)), x, 0, 1, y, 0, 1, z, 0, 1)", false},
        {"plot(drawpixel(x, x) + x, x, 0, 1)", false},
        {"implicitplot(x-y, x, 0, 1, y, 0, 1, coords=drawing)", false},
    };
    run("newfunc(pure, a, if(a<1, a, pure(a-1)))");
    run("newfunc(defines, a, seq(new(q, a);, q))");
    run("newfunc(random, a, a+rand(5))");
    run("newfunc(callsRandom, a, pure(random(a)))");
    run("newcoords(drawing, a, b, [a+newfunc(h, t, t), b])");
    for (const Case& c : cases) {
        std::string answer = run1(c.statement);
        int slot = plots.slotForTab(host.tabCount() - 1);
        ASSERT_GE(slot, 0) << c.statement << ": " << answer;
        EXPECT_EQ(samplesInParallel(engine.stores, plots.slots[static_cast<size_t>(slot)]), c.parallel) << c.statement;
        run("delplot(" + std::to_string(slot) + ")");
    }
}

}  // namespace
}  // namespace vx::testing
