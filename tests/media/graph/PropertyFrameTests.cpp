// The property frame: the camera's adjustable settings act on the device at once; the frame is
// modal over its owner, carries the caption and closes with its button.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "CameraFilter.h"
#include "GraphTestSupport.h"
#include "GtkUiHost.h"
#include "PropertyFrame.h"

using namespace graphtest;

namespace {

GtkWidget* FindWidget(GtkWidget* root, GType type) {
    if (G_TYPE_CHECK_INSTANCE_TYPE(root, type)) return root;
    if (!GTK_IS_CONTAINER(root)) return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(root));
    GtkWidget* found = nullptr;
    for (GList* l = children; l && !found; l = l->next) found = FindWidget(GTK_WIDGET(l->data), type);
    g_list_free(children);
    return found;
}

platform::gst::CameraFilter* Camera(IBaseFilter* filter) {
    return dynamic_cast<platform::gst::CameraFilter*>(platform::gst::AsGstFilter(filter));
}

TEST(PropertyFrame, TestCameraOffersItsPatternAndAChoiceChangesItLive) {
    if (!Env().ui) GTEST_SKIP() << "no display";
    ComPtr<IBaseFilter> filter = BindByName(CLSID_VideoInputDeviceCategory, kCamera);
    ASSERT_TRUE(filter);
    platform::gst::CameraFilter* camera = Camera(filter.Get());
    ASSERT_NE(camera, nullptr);
    GtkWidget* panel = platform::gst::BuildSettingsPanel(camera->Element());
    ASSERT_NE(panel, nullptr);
    g_object_ref_sink(panel);
    GtkWidget* combo = FindWidget(panel, GTK_TYPE_COMBO_BOX_TEXT);
    ASSERT_NE(combo, nullptr);
    gint pattern = -1;
    g_object_get(camera->SourceElement(), "pattern", &pattern, nullptr);
    EXPECT_EQ(pattern, 0);  // smpte, as the device file says
    EXPECT_STREQ(gtk_combo_box_get_active_id(GTK_COMBO_BOX(combo)), "0");
    ASSERT_TRUE(gtk_combo_box_set_active_id(GTK_COMBO_BOX(combo), "1"));  // snow
    g_object_get(camera->SourceElement(), "pattern", &pattern, nullptr);
    EXPECT_EQ(pattern, 1);
    gtk_widget_destroy(panel);
    g_object_unref(panel);
}

TEST(PropertyFrame, FilterWithoutSettingsHasNoPanel) {
    if (!Env().ui) GTEST_SKIP() << "no display";
    auto tee = Create<IBaseFilter>(CLSID_SmartTee);
    EXPECT_EQ(platform::gst::BuildSettingsPanel(platform::gst::AsGstFilter(tee.Get())->Element()), nullptr);
}

TEST(PropertyFrame, IsModalOverTheOwnerWithTheCaptionAndClosesWithItsButton) {
    platform::GtkUiHost* ui = Env().ui;
    if (!ui) GTEST_SKIP() << "no display";
    platform::CreateParams params;
    params.kind = platform::WindowKind::TopLevel;
    params.rect = platform::Rect::FromXYWH(50, 50, 400, 300);
    params.visible = true;
    const platform::WindowHandle owner{0x7100};
    ASSERT_TRUE(ui->CreateWindow(owner, params));
    ComPtr<IBaseFilter> camera = BindByName(CLSID_VideoInputDeviceCategory, kCamera);
    ASSERT_TRUE(camera);

    struct Seen {
        GtkWindow* ownerWindow;
        bool found = false;
        bool modal = false;
        bool transient = false;
        bool hasCombo = false;
    } seen{GTK_WINDOW(ui->NativeWidget(owner))};
    // The frame's own loop runs this: look at the frame, then press its button.
    g_timeout_add(200, [](gpointer data) -> gboolean {
        auto* s = static_cast<Seen*>(data);
        GList* windows = gtk_window_list_toplevels();
        for (GList* l = windows; l; l = l->next) {
            if (!GTK_IS_DIALOG(l->data) || g_strcmp0(gtk_window_get_title(GTK_WINDOW(l->data)), "Camera settings") != 0)
                continue;
            s->found = true;
            s->modal = gtk_window_get_modal(GTK_WINDOW(l->data));
            s->transient = gtk_window_get_transient_for(GTK_WINDOW(l->data)) == s->ownerWindow;
            s->hasCombo = FindWidget(GTK_WIDGET(l->data), GTK_TYPE_COMBO_BOX_TEXT) != nullptr;
            gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(GTK_DIALOG(l->data), GTK_RESPONSE_CLOSE)));
        }
        g_list_free(windows);
        return G_SOURCE_REMOVE;
    }, &seen);
    EXPECT_EQ(Media().ShowPropertyFrame(owner, 10, 10, L"Camera settings", camera.Get(), {}), S_OK);
    EXPECT_TRUE(seen.found);
    EXPECT_TRUE(seen.modal);
    EXPECT_TRUE(seen.transient);
    EXPECT_TRUE(seen.hasCombo);
    ui->DestroyWindow(owner);
}

}  // namespace
