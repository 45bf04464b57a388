#include "engine/name_catalog.h"

#include <gtest/gtest.h>

#include "tests/engine/harness.h"

namespace vx {
namespace {

TEST(NameCatalog, OffersEveryKindOfNameOncePerPrefix) {
    test::Session s;
    s.run("new(polyvar,1)\nnewfunc(polyf,x,x)\nnewcoords(polyc,r,t,[r*cos(t),r*sin(t)])");
    struct Case {
        const char* prefix;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"polyro", {"polyroots"}},
        {"polyv", {"polyvar"}},
        {"polyf", {"polyf", "polyfactor"}},
        {"polyc", {"polyc"}},
        {"asin", {"asin", "asinh"}},
        {"zzz", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(namesStartingWith(s.engine, c.prefix), c.expected) << c.prefix;

    s.run("delete(polyvar)");
    EXPECT_TRUE(namesStartingWith(s.engine, "polyv").empty());
}

}  // namespace
}  // namespace vx
