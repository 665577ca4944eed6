// The preview area's control class.
#pragma once

#include "framework/Static.h"

class CSTATIC : public CStatic {};
