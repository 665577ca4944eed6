#include "resources/Resources.h"

#include "resources/AppIcon.h"
#include "resources/Dialogs.h"
#include "resources/ResourceIds.h"
#include "resources/SettingsDialogs.h"

namespace {

const IconResource kIcons[] = {{IDR_MAINFRAME, DrawAppIcon}};

}  // namespace

ResourceTable ProgramResources() {
    static const MenuTemplate menus[] = {ContextMenuTemplate()};
    return {L"Vistrel", ProgramDialogs(), menus, kIcons};
}
