// The program's resources as one table for the framework runtime.
#pragma once

#include "framework/DialogTemplate.h"

ResourceTable ProgramResources();
