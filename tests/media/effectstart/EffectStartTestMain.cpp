// Each start of the program is a fresh process, so the tests here start this binary again with
// the environment a start would have. Tests of the suite InChild only run in such a child (the
// variable of EffectStartChild.h set); GStreamer starts in the child as in the program, from the
// media layer, never here.
#include <glib.h>
#include <gtest/gtest.h>

#include <string>

#include "EffectStartChild.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string filter = testing::GTEST_FLAG(filter);
    if (g_getenv(effectstart::kChildVariable)) {
        filter = "InChild.*";
    } else {
        filter += filter.find('-') == std::string::npos ? "-InChild.*" : ":InChild.*";
    }
    testing::GTEST_FLAG(filter) = filter;
    return RUN_ALL_TESTS();
}
