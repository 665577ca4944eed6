#include "GtkPopupMenu.h"

#include "GRefPtr.h"
#include "Mnemonics.h"

namespace platform {
namespace {

constexpr char kIdKey[] = "vistrel-menu-id";

struct MenuRun {
    GMainLoop* loop = nullptr;
    int chosen = 0;
};

void OnActivate(GtkMenuItem* item, gpointer data) {
    // Items with a sub-menu are activated on the way to it; they are no answer.
    if (gtk_menu_item_get_submenu(item)) return;
    static_cast<MenuRun*>(data)->chosen = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), kIdKey));
}

GtkWidget* BuildMenu(const std::vector<MenuItem>& items, MenuRun& run) {
    GtkWidget* menu = gtk_menu_new();
    for (const MenuItem& entry : items) {
        GtkWidget* item = nullptr;
        if (entry.id == 0 && entry.text.empty() && entry.subItems.empty()) {
            item = gtk_separator_menu_item_new();
        } else {
            const std::string label = ToGtkMnemonic(entry.text);
            if (entry.checked) {
                item = gtk_check_menu_item_new_with_mnemonic(label.c_str());
                gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), TRUE);
            } else {
                item = gtk_menu_item_new_with_mnemonic(label.c_str());
            }
            gtk_widget_set_sensitive(item, !entry.grayed);
            g_object_set_data(G_OBJECT(item), kIdKey, GINT_TO_POINTER(entry.id));
            if (!entry.subItems.empty()) gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), BuildMenu(entry.subItems, run));
            g_signal_connect(item, "activate", G_CALLBACK(OnActivate), &run);
        }
        gtk_widget_show(item);
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    }
    return menu;
}

}  // namespace

int RunPopupMenu(GtkWindow* owner, const std::vector<MenuItem>& items, Point screen) {
    if (items.empty()) return 0;
    MenuRun run;
    GtkWidget* menu = BuildMenu(items, run);
    auto keep = RefGRef(menu);  // the menu is floating until then

    // The point is given against the owner's window when there is one, so the menu lands on
    // the owner's screen; otherwise against the root window.
    GdkWindow* anchor = owner ? gtk_widget_get_window(GTK_WIDGET(owner)) : nullptr;
    GdkRectangle at{screen.x, screen.y, 1, 1};
    if (anchor) {
        int ox = 0, oy = 0;
        gdk_window_get_origin(anchor, &ox, &oy);
        at.x -= ox;
        at.y -= oy;
        gtk_menu_attach_to_widget(GTK_MENU(menu), GTK_WIDGET(owner), nullptr);
    } else {
        anchor = gdk_screen_get_root_window(gdk_screen_get_default());
    }

    // GTK takes the pointer's grab time and device from the event that opened the menu; a menu
    // opened from a timer has none, so it gets one standing for "now".
    GdkEvent* trigger = gtk_get_current_event();
    if (!trigger) {
        trigger = gdk_event_new(GDK_BUTTON_RELEASE);
        trigger->button.window = GDK_WINDOW(g_object_ref(anchor));  // the event's own, gdk_event_free drops it
        trigger->button.time = GDK_CURRENT_TIME;
        gdk_event_set_device(trigger, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_window_get_display(anchor))));
    }

    auto loop = AdoptGRef(g_main_loop_new(nullptr, FALSE));
    run.loop = loop.get();
    // Closing comes before an item's activation in the same dispatch, so the loop still sees the choice.
    g_signal_connect_swapped(menu, "deactivate", G_CALLBACK(g_main_loop_quit), run.loop);
    gtk_menu_popup_at_rect(GTK_MENU(menu), anchor, &at, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, trigger);
    gdk_event_free(trigger);
    if (gtk_widget_get_visible(menu)) g_main_loop_run(run.loop);
    gtk_widget_destroy(menu);
    return run.chosen;
}

}  // namespace platform
