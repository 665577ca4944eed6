#include "VideoRendererFilter.h"

#include "BinChain.h"
#include "PaintedArea.h"

namespace platform::gst {

ComPtr<IBaseFilter> VideoRendererFilter::Create() {
    // gtksink needs GTK with a display; GTK is initialised by the UI host on the UI thread.
    bool display = gdk_display_get_default() != nullptr;
    GstElement* sink = display ? MakeElement("gtksink") : nullptr;
    if (!sink) sink = MakeElement("fakesink");
    if (!sink) return nullptr;
    GstElement* bin = MakeChainBin(nullptr, {MakeElement("videoconvert"), sink});
    if (!bin) return nullptr;
    return ComPtr<IBaseFilter>::Adopt(new VideoRendererFilter(bin, sink));
}

VideoRendererFilter::VideoRendererFilter(GstElement* bin, GstElement* sink) : GstFilter(bin), m_sink(sink) {
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(sink), "widget")) {
        // The program sizes the window; the picture fills it, as the classic renderer's did.
        g_object_set(sink, "force-aspect-ratio", FALSE, nullptr);
        GtkWidget* widget = nullptr;
        g_object_get(sink, "widget", &widget, nullptr);
        m_widget = AdoptGRef(widget);
        if (m_widget) MarkPaintsWholeAllocation(m_widget.get());
        // GTK keeps top-level windows itself; the holder takes a reference of its own.
        m_holder = RefGRef(gtk_offscreen_window_new());
        ReturnWidget();
    } else {
        g_object_set(sink, "sync", TRUE, nullptr);
    }
}

VideoRendererFilter::~VideoRendererFilter() {
    // The sink must let go of the widget before it is destroyed.
    gst_element_set_state(Element(), GST_STATE_NULL);
    if (m_widget) {
        if (GtkWidget* parent = gtk_widget_get_parent(m_widget.get()))
            gtk_container_remove(GTK_CONTAINER(parent), m_widget.get());
        m_widget.reset();
    }
    if (m_holder) {
        gtk_widget_destroy(m_holder.get());
        m_holder.reset();
    }
}

void VideoRendererFilter::ReturnWidget() {
    if (!m_widget) return;
    GtkWidget* parent = gtk_widget_get_parent(m_widget.get());
    if (parent == m_holder.get()) return;
    if (parent) gtk_container_remove(GTK_CONTAINER(parent), m_widget.get());
    gtk_container_add(GTK_CONTAINER(m_holder.get()), m_widget.get());
}

}  // namespace platform::gst
