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

TEST(NameCatalog, CallTipsNameTheInnermostOpenCall) {
    struct Case {
        const char* before;
        const char* name;
    } cases[] = {
        {"1+take({1,2}, sin(x)", "take"}, {"take({1,2}, sin(", "sin"}, {"2sin (", "sin"},
        {"(1+", ""},                      {"sin(x)", ""},           {"f(a,\n b", "f"},
    };
    for (const Case& c : cases) EXPECT_EQ(calledName(c.before), c.name) << c.before;

    test::Session s;
    s.run("newfunc(hyp,a,b,sqrt(a^2+b^2))\nnewfunchidden(cube3,x,x^3)");
    struct Tip {
        const char* name;
        bool withEngine;
        std::vector<std::string> forms;
    } tips[] = {
        {"take", false, {"take(list, i)", "take(list, a, b)"}},
        {"hyp", true, {"hyp(a, b)"}},
        {"hyp", false, {}},
        {"lcm", true, {"lcm(a,b)"}},
        {"nosuch", true, {}},
    };
    for (const Tip& t : tips) {
        std::vector<std::string> forms;
        for (const CallTipLine& line : callTip(t.withEngine ? &s.engine : nullptr, t.name)) forms.push_back(line.form);
        EXPECT_EQ(forms, t.forms) << t.name;
    }
    EXPECT_EQ(callTip(&s.engine, "hyp").front().meaning, "your function");
    EXPECT_EQ(callTip(&s.engine, "cube3").front().meaning, "a locked function");
}

}  // namespace
}  // namespace vx
