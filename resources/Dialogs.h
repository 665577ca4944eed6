// The program's dialog templates.
#pragma once

#include <span>

#include "framework/DialogTemplate.h"

std::span<const DialogTemplate> ProgramDialogs();
