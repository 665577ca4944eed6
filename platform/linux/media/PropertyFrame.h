// The property frame of a filter: a modal GTK dialog showing the settings of the filter's
// element that a user can adjust (colour balance channels, or a source's camera-like
// properties), applied while the dialog is open.
#pragma once

#include <gst/gst.h>
#include <gtk/gtk.h>

#include <string>

#include "platform/Types.h"
#include "platform/Unknown.h"

namespace platform {
class GtkUiHost;
}

namespace platform::gst {

// A box of controls, one per adjustable setting of the element (or of its children), each
// acting on the element at once; nullptr when there is nothing to adjust. A floating widget.
GtkWidget* BuildSettingsPanel(GstElement* element);

// Shows the dialog for the object's filter and returns when the user closes it. E_FAIL
// without a UI host; E_INVALIDARG for an object that is not a filter of this backend.
HRESULT RunPropertyFrame(GtkUiHost* ui, WindowHandle owner, int x, int y, const std::wstring& caption,
                         IUnknown* object);

}  // namespace platform::gst
