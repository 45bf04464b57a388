// Tab completion of names in the interactive session.
#include <gtest/gtest.h>

#include "cli/completion.h"
#include "engine/session.h"
#include "shell/standard_library.h"

namespace {

TEST(Completion, CompletesTheNameBeforeTheCursor) {
    vx::Engine engine;
    vx::startEngine(engine);
    vx::submitText(engine, "newfunc(myfun,x,x)\nnew(myvar,1)\nnewcoords(mycoords,r,t,[r,t])");
    struct Case {
        const char* before;
        std::string insertion;
        size_t choices;
        const char* firstChoice;
    } cases[] = {
        {"polyro", "ots(", 0, ""},     // a built-in function gets its bracket
        {"2*sq", "rt(", 0, ""},        // an elementary function, after a number
        {"1+myf", "un(", 0, ""},       // the user's function
        {"myv", "ar", 0, ""},          // a variable gets none
        {"myc", "oords", 0, ""},       // a coordinate system gets none
        {"my", "", 3, "mycoords"},     // nothing to add: the choices
        {"drawline", "", 2, "drawline"},
        {"x+", "", 0, ""},             // no name being typed
        {"zzz", "", 0, ""},            // nothing known
    };
    for (const Case& c : cases) {
        vx::Completion got = vx::completeName(engine, c.before);
        EXPECT_EQ(got.insertion, c.insertion) << c.before;
        EXPECT_EQ(got.choices.size(), c.choices) << c.before;
        if (c.choices) {
            EXPECT_EQ(got.choices.front(), c.firstChoice) << c.before;
        }
    }
}

}  // namespace
