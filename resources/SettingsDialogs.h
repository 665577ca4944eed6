// The templates of the three settings dialogs and the context menu that leads to them.
#pragma once

#include "framework/DialogTemplate.h"

const DialogTemplate& DeviceSettingsTemplate();
const DialogTemplate& VideoEffectsTemplate();
const DialogTemplate& SetSavePathTemplate();
const MenuTemplate& ContextMenuTemplate();
