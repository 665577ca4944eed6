#include "VirtualKeys.h"

namespace platform {

int VirtualKeyFromKeyval(guint keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return int('A' + (keyval - GDK_KEY_a));
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return int(keyval);
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return int(keyval);
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return int(0x60 + (keyval - GDK_KEY_KP_0));
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return int(0x70 + (keyval - GDK_KEY_F1));
    switch (keyval) {
    case GDK_KEY_BackSpace: return 8;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab: return 9;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: return 13;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R: return 16;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R: return 17;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R: return 18;
    case GDK_KEY_Pause: return 19;
    case GDK_KEY_Caps_Lock: return 20;
    case GDK_KEY_Escape: return 27;
    case GDK_KEY_space: return 32;
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up: return 33;
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down: return 34;
    case GDK_KEY_End:
    case GDK_KEY_KP_End: return 35;
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home: return 36;
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left: return 37;
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up: return 38;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right: return 39;
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down: return 40;
    case GDK_KEY_Insert:
    case GDK_KEY_KP_Insert: return 45;
    case GDK_KEY_Delete:
    case GDK_KEY_KP_Delete: return 46;
    case GDK_KEY_KP_Multiply: return 0x6A;
    case GDK_KEY_KP_Add: return 0x6B;
    case GDK_KEY_KP_Subtract: return 0x6D;
    case GDK_KEY_KP_Decimal: return 0x6E;
    case GDK_KEY_KP_Divide: return 0x6F;
    default: return int(keyval);
    }
}

int VirtualKeyFromEvent(const GdkEventKey& event) {
    // The desktop's two ways to ask for a context menu from the keyboard are one key to the program.
    if (event.keyval == GDK_KEY_Menu || (event.keyval == GDK_KEY_F10 && (event.state & GDK_SHIFT_MASK))) return 0x5D;
    // Look the key up again without Shift (and the like), keeping Num Lock for the keypad.
    guint keyval = event.keyval;
    guint unshifted = 0;
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event.window));
    if (gdk_keymap_translate_keyboard_state(keymap, event.hardware_keycode,
                                            GdkModifierType(event.state & GDK_MOD2_MASK), event.group, &unshifted,
                                            nullptr, nullptr, nullptr))
        keyval = unshifted;
    return VirtualKeyFromKeyval(keyval);
}

}  // namespace platform
