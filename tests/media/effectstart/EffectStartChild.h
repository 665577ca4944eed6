// The variable that makes the effect start tests' binary act as one start of the program.
#pragma once

namespace effectstart {

inline constexpr char kChildVariable[] = "VISTREL_EFFECT_START_CHILD";

}  // namespace effectstart
