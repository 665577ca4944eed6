#include "GtkMessageBox.h"

#include <utility>
#include <vector>

#include "platform/Strings.h"
#include "platform/UiHost.h"

namespace platform {
namespace {

GtkMessageType TypeFor(uint32_t flags) {
    switch (flags & kMbIconMask) {
    case kMbIconError: return GTK_MESSAGE_ERROR;
    case kMbIconQuestion: return GTK_MESSAGE_QUESTION;
    case kMbIconExclamation: return GTK_MESSAGE_WARNING;
    case kMbIconInformation: return GTK_MESSAGE_INFO;
    default: return GTK_MESSAGE_OTHER;
    }
}

// The buttons in the order the classic box shows them, with the answer each gives.
std::vector<std::pair<const char*, int>> ButtonsFor(uint32_t flags) {
    switch (flags & kMbButtonsMask) {
    case kMbOkCancel: return {{"_OK", kIdOk}, {"_Cancel", kIdCancel}};
    case kMbYesNoCancel: return {{"_Yes", kIdYes}, {"_No", kIdNo}, {"_Cancel", kIdCancel}};
    case kMbYesNo: return {{"_Yes", kIdYes}, {"_No", kIdNo}};
    default: return {{"_OK", kIdOk}};
    }
}

// What closing the box without a button answers.
int DismissAnswer(uint32_t flags) {
    switch (flags & kMbButtonsMask) {
    case kMbOkCancel:
    case kMbYesNoCancel: return kIdCancel;
    case kMbYesNo: return kIdNo;
    default: return kIdOk;
    }
}

// The boxes open now, innermost last.
std::vector<GtkDialog*>& OpenBoxes() {
    static std::vector<GtkDialog*> boxes;
    return boxes;
}

}  // namespace

void CloseMessageBoxes() {
    // A copy: each response ends its box's nested loop only once control returns to it.
    const std::vector<GtkDialog*> boxes = OpenBoxes();
    for (GtkDialog* box : boxes) gtk_dialog_response(box, GTK_RESPONSE_DELETE_EVENT);
}

int RunMessageBox(GtkWindow* owner, std::wstring_view text, std::wstring_view caption, uint32_t flags) {
    GtkWidget* dialog = gtk_message_dialog_new(owner, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                               TypeFor(flags), GTK_BUTTONS_NONE, "%s", ToUtf8(text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), ToUtf8(caption).c_str());
    const auto buttons = ButtonsFor(flags);
    for (const auto& [label, answer] : buttons) gtk_dialog_add_button(GTK_DIALOG(dialog), label, answer);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), buttons.front().second);
    if (owner) gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ON_PARENT);
    else gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);

    OpenBoxes().push_back(GTK_DIALOG(dialog));
    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    std::erase(OpenBoxes(), GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    for (const auto& [label, answer] : buttons)
        if (response == answer) return answer;
    return DismissAnswer(flags);
}

}  // namespace platform
