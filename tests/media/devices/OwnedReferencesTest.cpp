// The owners every GLib and GStreamer reference of the backend goes through: a count one off
// either way is a leak or a use after free somewhere far from here.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include "GRefPtr.h"

namespace vistrel::test {
namespace {

guint Refs(gpointer object) { return G_OBJECT(object)->ref_count; }

struct TakeCase {
    const char* situation;
    bool floating;  // as gst_element_factory_make hands it out, or already owned by the caller
    bool adopt;     // Adopt, else Ref
    guint refs;     // held afterwards, the caller's included
};

TEST(OwnedReferences, AdoptingAndTakingAnElementCountAsTheyShould) {
    const TakeCase cases[] = {
        {"a new element adopted: its floating reference is sunk and is ours", true, true, 1},
        {"a new element taken: the floating reference becomes ours, none is added", true, false, 1},
        {"an owned element adopted: the caller's reference becomes ours", false, true, 1},
        {"an owned element taken: a reference of our own beside the caller's", false, false, 2},
    };
    for (const TakeCase& c : cases) {
        SCOPED_TRACE(c.situation);
        GstElement* element = gst_element_factory_make("identity", nullptr);
        ASSERT_NE(element, nullptr);
        if (!c.floating) gst_object_ref_sink(element);
        GRefPtr<GstElement> callers;
        {
            auto held = c.adopt ? GRefPtr<GstElement>::Adopt(element) : GRefPtr<GstElement>::Ref(element);
            EXPECT_FALSE(g_object_is_floating(element));
            EXPECT_EQ(Refs(element), c.refs);
            GRefPtr<GstElement> copy = held;
            EXPECT_EQ(Refs(element), c.refs + 1);
            if (c.refs == 2) callers = GRefPtr<GstElement>::Adopt(element);
        }
        if (c.refs == 2) {
            EXPECT_EQ(Refs(element), 1u);
        }
    }
}

TEST(OwnedReferences, ABinOwnsWhatIsAddedAndReleaseHandsTheReferenceOn) {
    auto bin = AdoptGRef(gst_bin_new(nullptr));
    GstElement* added = AddToBin(bin.get(), AdoptGRef(gst_element_factory_make("identity", nullptr)));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(GST_OBJECT_PARENT(added), GST_OBJECT(bin.get()));
    EXPECT_EQ(Refs(added), 1u);  // the bin's only

    auto caps = AdoptGRef(gst_caps_new_empty_simple("video/x-raw"));
    GstCaps* raw = caps.release();
    EXPECT_FALSE(caps);
    EXPECT_EQ(GST_MINI_OBJECT_REFCOUNT_VALUE(raw), 1);
    auto again = AdoptGRef(raw);
    EXPECT_EQ(GST_MINI_OBJECT_REFCOUNT_VALUE(RefGRef(raw).get()), 2);
    EXPECT_EQ(GST_MINI_OBJECT_REFCOUNT_VALUE(raw), 1);
}

void HandOutCaps(GstCaps** out) { *out = gst_caps_new_empty_simple("audio/x-raw"); }

TEST(OwnedReferences, OutPtrEmptiesTheHolderAndAdoptsWhatTheCallWrites) {
    GErrorPtr error(g_error_new_literal(GST_CORE_ERROR, GST_CORE_ERROR_FAILED, "earlier"));
    // GLib keeps an error already in the slot (and warns); the slot must come empty.
    g_set_error_literal(OutPtr(error), GST_CORE_ERROR, GST_CORE_ERROR_FAILED, "later");
    ASSERT_TRUE(error);
    EXPECT_STREQ(error->message, "later");

    GRefPtr<GstCaps> caps = AdoptGRef(gst_caps_new_any());
    HandOutCaps(OutPtr(caps));
    ASSERT_TRUE(caps);
    EXPECT_TRUE(gst_structure_has_name(gst_caps_get_structure(caps.get(), 0), "audio/x-raw"));
    EXPECT_EQ(GST_MINI_OBJECT_REFCOUNT_VALUE(caps.get()), 1);
}

}  // namespace
}  // namespace vistrel::test
