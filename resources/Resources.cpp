#include "resources/Resources.h"

#include "resources/AppIcon.h"
#include "resources/Dialogs.h"
#include "resources/ResourceIds.h"

namespace {

const IconResource kIcons[] = {{IDR_MAINFRAME, DrawAppIcon}};

}  // namespace

ResourceTable ProgramResources() {
    return {L"Vistrel", ProgramDialogs(), {}, kIcons};
}
