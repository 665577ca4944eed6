#include "NativeControls.h"

#include "ControlStyle.h"
#include "GRefPtr.h"
#include "Mnemonics.h"
#include "VirtualKeys.h"
#include "platform/Strings.h"

namespace platform {
namespace {

void OnClicked(GtkButton*, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    binding->router->Notify(binding->handle, ControlNotify::Clicked);
}

// GTK also "clicks" the radio button a click turns off; only the one turned on was clicked.
void OnRadioClicked(GtkButton* button, gpointer data) {
    if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button))) OnClicked(button, data);
}

void OnEditChanged(GtkEditable*, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    binding->router->Notify(binding->handle, ControlNotify::EditChange);
}

void OnSelectionChanged(GtkComboBox*, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    binding->router->Notify(binding->handle, ControlNotify::SelChange);
}

// While a combo's list is dropped down the keyboard belongs to the list, a window of its own.
// The two keys that end a dialog still reach the program first, as they would in a classic
// dialog; the list closes when the program takes them.
gboolean OnListKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    const int key = VirtualKeyFromEvent(*event);
    if (key != 13 && key != 27) return FALSE;
    NativeWindow* window = binding->router->Find(binding->handle);
    IUiEvents* sink = binding->router->SinkFor(binding->handle);
    if (!window || !sink) return FALSE;
    GtkWidget* combo = window->widget;
    if (!sink->OnKeyDown(binding->handle, key)) return FALSE;
    if (GTK_IS_COMBO_BOX(combo)) gtk_combo_box_popdown(GTK_COMBO_BOX(combo));
    return TRUE;
}

void OnPopupShown(GObject* combo, GParamSpec*, gpointer data) {
    constexpr char kWatched[] = "vistrel-list-keys";
    gboolean shown = FALSE;
    g_object_get(combo, "popup-shown", &shown, nullptr);
    AtkObject* accessible = gtk_combo_box_get_popup_accessible(GTK_COMBO_BOX(combo));
    GtkWidget* list = accessible && GTK_IS_ACCESSIBLE(accessible) ? gtk_accessible_get_widget(GTK_ACCESSIBLE(accessible)) : nullptr;
    if (!shown || !list || g_object_get_data(G_OBJECT(list), kWatched)) return;
    g_object_set_data(G_OBJECT(list), kWatched, GINT_TO_POINTER(1));
    g_signal_connect(list, "key-press-event", G_CALLBACK(OnListKeyPress), data);
}

// A label of our own, so a long text is cut short rather than widening the control.
void AddLabel(GtkWidget* button, float xalign) {
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    gtk_label_set_xalign(GTK_LABEL(label), xalign);
    gtk_container_add(GTK_CONTAINER(button), label);
    gtk_widget_show(label);
}

GtkWidget* CreateRadio(EventRouter& router, NativeWindow& window, NativeWindow& parent, bool startsGroup) {
    NativeWindow* previous = startsGroup ? nullptr : router.Find(parent.lastRadio);
    GtkWidget* radio = nullptr;
    if (previous && previous->widget) {
        radio = gtk_radio_button_new_from_widget(GTK_RADIO_BUTTON(previous->widget));
        window.noneRadio = previous->noneRadio;
    } else {
        // GTK keeps one button of a group on; a hidden member is on while the program has none.
        GtkWidget* none = gtk_radio_button_new(nullptr);
        gtk_fixed_put(GTK_FIXED(parent.container), none, 0, 0);
        radio = gtk_radio_button_new_from_widget(GTK_RADIO_BUTTON(none));
        window.noneRadio = none;
    }
    parent.lastRadio = window.handle;
    return radio;
}

}  // namespace

void CreateNativeControl(EventRouter& router, NativeWindow& window, NativeWindow& parent, bool startsGroup,
                         bool defaultButton) {
    GtkWidget* widget = nullptr;
    switch (window.kind) {
    case WindowKind::PushButton:
        widget = gtk_button_new();
        AddLabel(widget, 0.5f);
        if (defaultButton) gtk_widget_set_can_default(widget, TRUE);
        break;
    case WindowKind::CheckBox:
        widget = gtk_check_button_new();
        AddLabel(widget, 0.0f);
        break;
    case WindowKind::RadioButton:
        widget = CreateRadio(router, window, parent, startsGroup);
        AddLabel(widget, 0.0f);
        break;
    case WindowKind::Edit:
        widget = gtk_entry_new();
        gtk_entry_set_width_chars(GTK_ENTRY(widget), 1);  // otherwise GTK wants 150 pixels at least
        break;
    case WindowKind::ComboBox: {
        widget = gtk_combo_box_text_new();
        GListPtr cells(gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(widget)));  // the renderers are the layout's
        for (GList* cell = cells.get(); cell; cell = cell->next)
            g_object_set(cell->data, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
        break;
    }
    case WindowKind::TopLevel:
    case WindowKind::Canvas:
        return;
    }
    window.widget = widget;
    ControlStyle::Adopt(widget);
    ControlStyle::ApplyFont(window);

    Binding* binding = router.Bind(widget, window.handle);
    switch (window.kind) {
    case WindowKind::PushButton:
    case WindowKind::CheckBox: g_signal_connect(widget, "clicked", G_CALLBACK(OnClicked), binding); break;
    case WindowKind::RadioButton: g_signal_connect(widget, "clicked", G_CALLBACK(OnRadioClicked), binding); break;
    case WindowKind::Edit: g_signal_connect(widget, "changed", G_CALLBACK(OnEditChanged), binding); break;
    case WindowKind::ComboBox:
        g_signal_connect(widget, "changed", G_CALLBACK(OnSelectionChanged), binding);
        g_signal_connect(widget, "notify::popup-shown", G_CALLBACK(OnPopupShown), binding);
        break;
    default: break;
    }
    SetControlText(router, window);
}

void SetControlText(EventRouter& router, NativeWindow& window) {
    auto quiet = router.Quiet();
    switch (window.kind) {
    case WindowKind::PushButton:
    case WindowKind::CheckBox:
    case WindowKind::RadioButton:
        gtk_label_set_text_with_mnemonic(GTK_LABEL(gtk_bin_get_child(GTK_BIN(window.widget))),
                                         ToGtkMnemonic(window.text).c_str());
        break;
    case WindowKind::Edit: gtk_entry_set_text(GTK_ENTRY(window.widget), ToUtf8(window.text).c_str()); break;
    default: break;
    }
}

std::wstring GetControlText(const NativeWindow& window) {
    switch (window.kind) {
    case WindowKind::Edit: return FromUtf8(gtk_entry_get_text(GTK_ENTRY(window.widget)));
    case WindowKind::ComboBox: {
        GCharPtr text(gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(window.widget)));
        return text ? FromUtf8(text.get()) : std::wstring();
    }
    default: return window.text;
    }
}

void SetControlCheck(EventRouter& router, NativeWindow& window, bool checked) {
    auto quiet = router.Quiet();
    if (window.kind == WindowKind::CheckBox) {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(window.widget), checked);
    } else if (window.kind == WindowKind::RadioButton) {
        if (checked) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(window.widget), TRUE);
        else if (GetControlCheck(window) && window.noneRadio)
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(window.noneRadio), TRUE);
    }
}

bool GetControlCheck(const NativeWindow& window) {
    if (window.kind != WindowKind::CheckBox && window.kind != WindowKind::RadioButton) return false;
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(window.widget));
}

}  // namespace platform
