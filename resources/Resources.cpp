#include "resources/Resources.h"

#include "resources/Dialogs.h"

ResourceTable ProgramResources() {
    return {L"Vistrel", ProgramDialogs(), {}};
}
