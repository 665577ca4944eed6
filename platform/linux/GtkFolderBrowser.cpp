#include "GtkFolderBrowser.h"

#include "GRefPtr.h"
#include "platform/Strings.h"

namespace platform {
namespace {

// The chooser names the folder under the pointer's selection, or, with nothing selected, the
// folder it shows.
GCharPtr ChosenFolder(GtkFileChooser* chooser) {
    GCharPtr chosen(gtk_file_chooser_get_filename(chooser));
    if (!chosen) chosen.reset(gtk_file_chooser_get_current_folder(chooser));
    return chosen;
}

void Tell(const FolderBrowserCallback& callback, GtkFileChooser* chooser) {
    GCharPtr folder = ChosenFolder(chooser);
    if (!folder || !callback) return;
    std::wstring path = FromUtf8(folder.get());
    callback(FolderBrowserEvent::SelectionChanged, path);
}

}  // namespace

bool RunFolderBrowser(GtkWindow* owner, std::wstring_view title, const FolderBrowserCallback& callback) {
    GtkWidget* dialog = gtk_file_chooser_dialog_new(ToUtf8(title).c_str(), owner, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER,
                                                    "_Cancel", GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_ACCEPT,
                                                    nullptr);
    auto* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_file_chooser_set_local_only(chooser, TRUE);  // file-system folders only
    gtk_file_chooser_set_create_folders(chooser, TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);

    std::wstring start;
    if (callback) callback(FolderBrowserEvent::Initialized, start);
    if (!start.empty()) {
        // A folder path ends in a separator; the chooser selects the folder itself, shown in its parent.
        std::string folder = ToUtf8(start);
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        (void)gtk_file_chooser_select_filename(chooser, folder.c_str());
    }
    g_signal_connect(dialog, "selection-changed", G_CALLBACK(+[](GtkFileChooser* c, gpointer data) {
                         Tell(*static_cast<const FolderBrowserCallback*>(data), c);
                     }),
                     const_cast<FolderBrowserCallback*>(&callback));

    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    // What the chooser's own entry holds when the user confirms is the folder taken, whatever
    // the last selection signal said.
    if (response == GTK_RESPONSE_ACCEPT) Tell(callback, chooser);
    gtk_widget_destroy(dialog);
    return response == GTK_RESPONSE_ACCEPT;
}

}  // namespace platform
