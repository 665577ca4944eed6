// The video renderer: conversion into gtksink, whose widget the graph's video window places.
// Without a display (headless tests) a fakesink stands in and there is no widget.
#pragma once

#include <gtk/gtk.h>

#include "GstFilter.h"

namespace platform::gst {

class VideoRendererFilter final : public GstFilter {
public:
    [[nodiscard]] static ComPtr<IBaseFilter> Create();

    // The picture widget, or nullptr without a display. While no window owns it, it waits in
    // a hidden holder window, so the sink never opens a window of its own.
    GtkWidget* Widget() const { return m_widget.get(); }
    // Puts the widget back into its holder.
    void ReturnWidget();
    GstElement* Sink() const { return m_sink; }

private:
    VideoRendererFilter(GstElement* bin, GstElement* sink);
    ~VideoRendererFilter() override;

    GstElement* m_sink = nullptr;    // owned by the bin
    GRefPtr<GtkWidget> m_widget;
    GRefPtr<GtkWidget> m_holder;  // an offscreen window
};

}  // namespace platform::gst
