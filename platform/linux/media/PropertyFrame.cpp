#include "PropertyFrame.h"

#include <gst/video/colorbalance.h>

#include <array>
#include <string_view>

#include "GstFilter.h"
#include "GtkUiHost.h"
#include "platform/Strings.h"

namespace platform::gst {
namespace {

// Properties of a source that a camera user would expect to adjust. Everything else a source
// has (block size, timestamps, liveness, …) is plumbing.
constexpr std::array<std::string_view, 10> kCameraProperties{
    "pattern", "brightness", "contrast", "saturation", "hue", "gamma", "sharpness", "flip", "horizontal-flip", "vertical-flip"};

constexpr char kBindingKey[] = "vistrel-setting";

// What a control acts on; owned by the control.
struct Binding {
    GRefPtr<GstElement> element;
    std::string property;  // a property's name, or empty for a colour balance channel
    GRefPtr<GstColorBalanceChannel> channel;
};

void FreeBinding(gpointer data) { delete static_cast<Binding*>(data); }

Binding* Bind(GtkWidget* control, GstElement* element, std::string property, GstColorBalanceChannel* channel = nullptr) {
    auto* binding = new Binding{RefGRef(element), std::move(property), RefGRef(channel)};
    g_object_set_data_full(G_OBJECT(control), kBindingKey, binding, FreeBinding);
    return binding;
}

Binding* BindingOf(gpointer control) { return static_cast<Binding*>(g_object_get_data(G_OBJECT(control), kBindingKey)); }

void AddRow(GtkWidget* grid, int row, const char* label, GtkWidget* control) {
    GtkWidget* caption = gtk_label_new(label);
    gtk_widget_set_halign(caption, GTK_ALIGN_START);
    gtk_widget_set_hexpand(control, TRUE);
    gtk_grid_attach(GTK_GRID(grid), caption, 0, row, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), control, 1, row, 1, 1);
}

int AddColorBalance(GtkWidget* grid, GstElement* element) {
    GstColorBalance* balance = GST_COLOR_BALANCE(element);
    int row = 0;
    for (const GList* l = gst_color_balance_list_channels(balance); l; l = l->next) {
        auto* channel = GST_COLOR_BALANCE_CHANNEL(l->data);
        if (channel->max_value <= channel->min_value) continue;
        GtkWidget* scale = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, channel->min_value, channel->max_value, 1);
        gtk_range_set_value(GTK_RANGE(scale), gst_color_balance_get_value(balance, channel));
        Bind(scale, element, {}, channel);
        g_signal_connect(scale, "value-changed", G_CALLBACK(+[](GtkRange* range, gpointer) {
                             Binding* b = BindingOf(range);
                             gst_color_balance_set_value(GST_COLOR_BALANCE(b->element.get()), b->channel.get(),
                                                         gint(gtk_range_get_value(range)));
                         }),
                         nullptr);
        AddRow(grid, row++, channel->label, scale);
    }
    return row;
}

GtkWidget* EnumControl(GstElement* element, GParamSpec* param) {
    auto* enumClass = G_ENUM_CLASS(g_type_class_ref(param->value_type));
    GValue value = G_VALUE_INIT;
    g_value_init(&value, param->value_type);
    g_object_get_property(G_OBJECT(element), param->name, &value);
    const int current = g_value_get_enum(&value);
    g_value_unset(&value);
    GtkWidget* combo = gtk_combo_box_text_new();
    for (guint i = 0; i < enumClass->n_values; ++i) {
        gtk_combo_box_text_append(GTK_COMBO_BOX_TEXT(combo), std::to_string(enumClass->values[i].value).c_str(),
                                  enumClass->values[i].value_nick);
        if (enumClass->values[i].value == current) gtk_combo_box_set_active(GTK_COMBO_BOX(combo), gint(i));
    }
    g_type_class_unref(enumClass);
    Bind(combo, element, param->name);
    g_signal_connect(combo, "changed", G_CALLBACK(+[](GtkComboBox* box, gpointer) {
                         Binding* b = BindingOf(box);
                         const gchar* id = gtk_combo_box_get_active_id(box);
                         if (!id) return;
                         GParamSpec* p = g_object_class_find_property(G_OBJECT_GET_CLASS(b->element.get()), b->property.c_str());
                         GValue v = G_VALUE_INIT;
                         g_value_init(&v, p->value_type);
                         g_value_set_enum(&v, std::atoi(id));
                         g_object_set_property(G_OBJECT(b->element.get()), b->property.c_str(), &v);
                         g_value_unset(&v);
                     }),
                     nullptr);
    return combo;
}

GtkWidget* NumberControl(GstElement* element, GParamSpec* param) {
    double min = 0;
    double max = 0;
    if (G_IS_PARAM_SPEC_INT(param)) {
        min = G_PARAM_SPEC_INT(param)->minimum;
        max = G_PARAM_SPEC_INT(param)->maximum;
    } else if (G_IS_PARAM_SPEC_UINT(param)) {
        min = G_PARAM_SPEC_UINT(param)->minimum;
        max = G_PARAM_SPEC_UINT(param)->maximum;
    } else if (G_IS_PARAM_SPEC_DOUBLE(param)) {
        min = G_PARAM_SPEC_DOUBLE(param)->minimum;
        max = G_PARAM_SPEC_DOUBLE(param)->maximum;
    }
    if (max <= min || max - min > 1e6) return nullptr;  // no sensible slider
    GValue value = G_VALUE_INIT;
    g_value_init(&value, G_TYPE_DOUBLE);
    GValue raw = G_VALUE_INIT;
    g_value_init(&raw, param->value_type);
    g_object_get_property(G_OBJECT(element), param->name, &raw);
    g_value_transform(&raw, &value);
    GtkWidget* scale = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, min, max, G_IS_PARAM_SPEC_DOUBLE(param) ? (max - min) / 100 : 1);
    gtk_range_set_value(GTK_RANGE(scale), g_value_get_double(&value));
    g_value_unset(&raw);
    g_value_unset(&value);
    Bind(scale, element, param->name);
    g_signal_connect(scale, "value-changed", G_CALLBACK(+[](GtkRange* range, gpointer) {
                         Binding* b = BindingOf(range);
                         GParamSpec* p = g_object_class_find_property(G_OBJECT_GET_CLASS(b->element.get()), b->property.c_str());
                         GValue d = G_VALUE_INIT;
                         g_value_init(&d, G_TYPE_DOUBLE);
                         g_value_set_double(&d, gtk_range_get_value(range));
                         GValue v = G_VALUE_INIT;
                         g_value_init(&v, p->value_type);
                         g_value_transform(&d, &v);
                         g_object_set_property(G_OBJECT(b->element.get()), b->property.c_str(), &v);
                         g_value_unset(&v);
                         g_value_unset(&d);
                     }),
                     nullptr);
    return scale;
}

GtkWidget* BoolControl(GstElement* element, GParamSpec* param) {
    gboolean on = FALSE;
    g_object_get(element, param->name, &on, nullptr);
    GtkWidget* check = gtk_check_button_new();
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), on);
    Bind(check, element, param->name);
    g_signal_connect(check, "toggled", G_CALLBACK(+[](GtkToggleButton* button, gpointer) {
                         Binding* b = BindingOf(button);
                         g_object_set(b->element.get(), b->property.c_str(), gtk_toggle_button_get_active(button), nullptr);
                     }),
                     nullptr);
    return check;
}

int AddSourceProperties(GtkWidget* grid, GstElement* element, int row) {
    for (std::string_view name : kCameraProperties) {
        GParamSpec* param = g_object_class_find_property(G_OBJECT_GET_CLASS(element), std::string(name).c_str());
        if (!param || !(param->flags & G_PARAM_WRITABLE) || !(param->flags & G_PARAM_READABLE)) continue;
        GtkWidget* control = nullptr;
        if (G_IS_PARAM_SPEC_ENUM(param))
            control = EnumControl(element, param);
        else if (G_IS_PARAM_SPEC_BOOLEAN(param))
            control = BoolControl(element, param);
        else
            control = NumberControl(element, param);
        if (control) AddRow(grid, row++, g_param_spec_get_nick(param), control);
    }
    return row;
}

// The element itself or the first of its children (at any depth) that passes the test.
template <class Test>
GRefPtr<GstElement> FindElement(GstElement* element, Test test) {
    if (test(element)) return RefGRef(element);
    if (!GST_IS_BIN(element)) return nullptr;
    GRefPtr<GstElement> found;
    GUniquePtr<GstIterator> it(gst_bin_iterate_recurse(GST_BIN(element)));
    GValue item = G_VALUE_INIT;
    while (!found && gst_iterator_next(it.get(), &item) == GST_ITERATOR_OK) {
        auto* child = GST_ELEMENT(g_value_get_object(&item));
        if (test(child)) found = RefGRef(child);
        g_value_reset(&item);
    }
    g_value_unset(&item);
    return found;
}

}  // namespace

GtkWidget* BuildSettingsPanel(GstElement* element) {
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 6);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
    int rows = 0;
    if (auto balance = FindElement(element, [](GstElement* e) { return GST_IS_COLOR_BALANCE(e); }))
        rows = AddColorBalance(grid, balance.get());
    if (rows == 0) {
        auto isSource = [](GstElement* e) { return GST_OBJECT_FLAG_IS_SET(e, GST_ELEMENT_FLAG_SOURCE) && !GST_IS_BIN(e); };
        if (auto source = FindElement(element, isSource)) rows = AddSourceProperties(grid, source.get(), 0);
    }
    if (rows == 0) {
        // Never put into a container, the grid is still floating: ours until destroyed.
        auto owned = RefGRef(grid);
        gtk_widget_destroy(grid);
        return nullptr;
    }
    return grid;
}

HRESULT RunPropertyFrame(GtkUiHost* ui, WindowHandle owner, int x, int y, const std::wstring& caption,
                         IUnknown* object) {
    if (!ui) return E_FAIL;
    GstFilter* filter = AsGstFilter(object);
    if (!filter) return E_INVALIDARG;
    GtkWidget* ownerWidget = ui->NativeWidget(owner);
    GtkWidget* top = ownerWidget ? gtk_widget_get_toplevel(ownerWidget) : nullptr;
    GtkWidget* dialog = gtk_dialog_new();
    gtk_window_set_title(GTK_WINDOW(dialog), ToUtf8(caption).c_str());
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    gtk_window_set_default_size(GTK_WINDOW(dialog), 360, -1);
    if (top && gtk_widget_is_toplevel(top)) {
        gtk_window_set_transient_for(GTK_WINDOW(dialog), GTK_WINDOW(top));
        int left = 0;
        int topY = 0;
        gtk_window_get_position(GTK_WINDOW(top), &left, &topY);
        gtk_window_move(GTK_WINDOW(dialog), left + x, topY + y);
    }
    gtk_dialog_add_button(GTK_DIALOG(dialog), "_Close", GTK_RESPONSE_CLOSE);
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
    gtk_container_set_border_width(GTK_CONTAINER(content), 12);
    GtkWidget* panel = BuildSettingsPanel(filter->Element());
    gtk_container_add(GTK_CONTAINER(content), panel ? panel : gtk_label_new("This device has no adjustable settings."));
    gtk_widget_show_all(dialog);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return S_OK;
}

}  // namespace platform::gst
