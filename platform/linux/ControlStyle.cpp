#include "ControlStyle.h"

#include <string>

#include "FontMapping.h"

namespace platform {
namespace {

constexpr char kStyleClass[] = "vistrel-control";

constexpr char kStyleSheet[] = R"css(
.vistrel-control { min-height: 0; min-width: 0; }
button.vistrel-control { padding: 0 4px; }
entry.vistrel-control { padding: 0 3px; }
.vistrel-control button { min-height: 0; min-width: 0; padding: 0 3px; }
checkbutton.vistrel-control, radiobutton.vistrel-control { padding: 0; }
checkbutton.vistrel-control check, radiobutton.vistrel-control radio { margin: 0 4px 0 0; }
)css";

}  // namespace

ControlStyle::ControlStyle() : m_provider(GRefPtr<GtkCssProvider>::Adopt(gtk_css_provider_new())) {
    gtk_css_provider_load_from_data(m_provider.get(), kStyleSheet, -1, nullptr);
    if (GdkScreen* screen = gdk_screen_get_default())
        gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(m_provider.get()),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

ControlStyle::~ControlStyle() {
    if (GdkScreen* screen = gdk_screen_get_default())
        gtk_style_context_remove_provider_for_screen(screen, GTK_STYLE_PROVIDER(m_provider.get()));
}

void ControlStyle::Adopt(GtkWidget* control) {
    gtk_style_context_add_class(gtk_widget_get_style_context(control), kStyleClass);
}

void ControlStyle::ApplyFont(NativeWindow& window) {
    GtkStyleContext* context = gtk_widget_get_style_context(window.widget);
    if (window.fontCss) gtk_style_context_remove_provider(context, GTK_STYLE_PROVIDER(window.fontCss.get()));
    window.fontCss = GRefPtr<GtkCssProvider>::Adopt(gtk_css_provider_new());
    const std::string css = "* { " + ToCss(window.font) + " }";
    gtk_css_provider_load_from_data(window.fontCss.get(), css.c_str(), -1, nullptr);
    // Above the screen-wide sheets, so a theme's font for buttons does not win.
    gtk_style_context_add_provider(context, GTK_STYLE_PROVIDER(window.fontCss.get()),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
}

}  // namespace platform
