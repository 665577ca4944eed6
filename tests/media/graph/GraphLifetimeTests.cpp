// A graph let go frees its pipeline and everything in it: a program that records again and
// again must not keep each graph it is done with.
#include <gtest/gtest.h>

#include "GraphTestSupport.h"
#include "GstGraph.h"

using namespace graphtest;

namespace {

TEST(GraphLifetime, ALetGoGraphFreesItsPipeline) {
    for (bool run : {false, true}) {
        SCOPED_TRACE(run ? "run and stopped" : "never run");
        GWeakRef pipeline;
        {
            PreviewGraph preview;
            ASSERT_TRUE(BuildPreview(preview, 640, 480, false));
            g_weak_ref_init(&pipeline, static_cast<platform::gst::GstGraph*>(preview.graph.Get())->Pipeline());
            if (run) {
                ASSERT_GE(preview.control->Run(), 0);
                PumpFor(500);
                StopGraph(preview.control.Get());
            }
        }
        PumpFor(200);
        GObject* left = static_cast<GObject*>(g_weak_ref_get(&pipeline));
        EXPECT_EQ(left, nullptr) << "the pipeline outlived its graph with " << (left ? left->ref_count - 1 : 0) << " references";
        if (left) g_object_unref(left);
        g_weak_ref_clear(&pipeline);
    }
}

}  // namespace
