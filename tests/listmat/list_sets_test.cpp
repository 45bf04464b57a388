// union and intersection against a direct quadratic reading of their
// definition, on random data with many repeats, signed zeros and NaNs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "listmat/list_sets.h"
#include "tests/listmat/listmat_test_util.h"

namespace vx {
namespace {

bool same(Complex a, Complex b) { return a.re == b.re && a.im == b.im; }

// Bitwise identity: the kept occurrence must be the first one, sign of zero
// and NaN included.
bool identical(Complex a, Complex b) {
    auto part = [](double x, double y) {
        return (std::isnan(x) && std::isnan(y)) || (x == y && std::signbit(x) == std::signbit(y));
    };
    return part(a.re, b.re) && part(a.im, b.im);
}

std::vector<int> naiveRepeated(const std::vector<Complex>& e) {
    std::vector<int> out;
    for (size_t j = 0; j < e.size(); ++j)
        for (size_t i = 0; i < j; ++i)
            if (same(e[i], e[j])) {
                out.push_back(static_cast<int>(j));
                break;
            }
    return out;
}

std::vector<int> naiveCommon(const std::vector<Complex>& e, int required) {
    std::vector<int> out;
    for (size_t i = 0; i < e.size(); ++i) {
        int count = 1;
        for (size_t j = i + 1; j < e.size(); ++j) count += same(e[i], e[j]) ? 1 : 0;
        if (count == required) out.push_back(static_cast<int>(i));
    }
    return out;
}

std::vector<Complex> pick(const std::vector<Complex>& e, const std::vector<int>& positions) {
    std::vector<Complex> out;
    for (int p : positions) out.push_back(e[static_cast<size_t>(p)]);
    return out;
}

std::vector<Complex> naiveUnion(const std::vector<Complex>& e) {
    std::vector<char> dropped(e.size(), 0);
    for (int p : naiveRepeated(e)) dropped[static_cast<size_t>(p)] = 1;
    std::vector<Complex> out;
    for (size_t k = 0; k < e.size(); ++k)
        if (!dropped[k]) out.push_back(e[k]);
    return out;
}

std::vector<Complex> naiveIntersection(const std::vector<std::vector<Complex>>& lists) {
    std::vector<Complex> joined;
    for (const auto& l : lists) {
        auto u = naiveUnion(l);
        joined.insert(joined.end(), u.begin(), u.end());
    }
    return pick(joined, naiveCommon(joined, static_cast<int>(lists.size())));
}

// Few distinct values, so that most elements repeat; 0 and -0 are one value
// and a NaN part equals nothing.
std::vector<Complex> randomList(std::mt19937& rng, size_t n) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Complex pool[] = {{0, 0}, {-0.0, 0}, {0, -0.0}, {1, 0}, {1, 1}, {1, -1}, {-2, 0.5},
                            {nan, 0}, {0, nan}, {3, 0}, {1e300, 0}, {-1e-300, 2}};
    std::uniform_int_distribution<size_t> which(0, std::size(pool) - 1);
    std::vector<Complex> e;
    for (size_t k = 0; k < n; ++k) e.push_back(pool[which(rng)]);
    return e;
}

void expectIdentical(const std::vector<Complex>& got, const std::vector<Complex>& want, int round) {
    ASSERT_EQ(got.size(), want.size()) << "round " << round;
    for (size_t k = 0; k < got.size(); ++k) EXPECT_TRUE(identical(got[k], want[k])) << "round " << round << " at " << k;
}

TEST(ListSets, RepeatsMatchQuadraticDefinition) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 200; ++round) {
        auto e = randomList(rng, static_cast<size_t>(round % 40));
        EXPECT_EQ(listmat::repeatedPositions(e), naiveRepeated(e)) << "round " << round;
    }
}

TEST(ListSets, BuiltinsMatchQuadraticDefinition) {
    std::mt19937 rng(7);
    testing::TestEngine t;
    for (int round = 0; round < 60; ++round) {
        std::vector<std::vector<Complex>> lists;
        for (int k = 0; k < 1 + round % 3; ++k) lists.push_back(randomList(rng, static_cast<size_t>(5 + round % 30)));
        std::vector<Complex> joined;
        std::string names;
        for (size_t k = 0; k < lists.size(); ++k) {
            t.defineList("setarg" + std::to_string(k), lists[k]);
            joined.insert(joined.end(), lists[k].begin(), lists[k].end());
            names += (k ? ",setarg" : "setarg") + std::to_string(k);
        }
        auto u = t.run("union(" + names + ")");
        ASSERT_EQ(u.tag, kList) << u.message;
        expectIdentical(u.value.elements, naiveUnion(joined), round);
        auto n = t.run("intersection(" + names + ")");
        ASSERT_EQ(n.tag, kList) << n.message;
        expectIdentical(n.value.elements, naiveIntersection(lists), round);
    }
    EXPECT_EQ(t.engine.stores.localCount, 0);
}

// More repeated positions than any fixed table would hold.
TEST(ListSets, ManyRepeats) {
    testing::TestEngine t;
    struct Case {
        const char* statement;
        size_t size;
        double first, last;
    } cases[] = {
        {"union(listgen(7,k,1,5000))", 1, 7, 7},
        {"union(listgen(mod2(k),k,1,5000),{9})", 3, 1, 9},
        {"intersection(listgen(k,k,1,3000),listgen(3001-k,k,1,3000),listgen(k,k,1,3000))", 3000, 1, 3000},
        {"intersection(listgen(1,k,1,3000),{2,1})", 1, 1, 1},
    };
    t.run("newfunc(mod2,x,x-2*floor(x/2))");
    for (const Case& c : cases) {
        auto r = t.run(c.statement);
        ASSERT_EQ(r.tag, kList) << c.statement << ": " << r.message;
        ASSERT_EQ(r.value.elements.size(), c.size) << c.statement;
        EXPECT_EQ(r.value.elements.front().re, c.first) << c.statement;
        EXPECT_EQ(r.value.elements.back().re, c.last) << c.statement;
    }
}

}  // namespace
}  // namespace vx
