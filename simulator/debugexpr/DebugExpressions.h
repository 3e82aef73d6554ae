// Conditions of breakpoints and expressions a user evaluates while the
// program stands, compiled by the compiler's own expression code against
// the program's variables (from the line map) and decoded as the simulator
// decodes a program image. It links the compiler; velsim_core does not.
#pragma once

#include "Debugger.h"

#include "lang/DebugMap.h"

namespace velsim {

// "count > 10", "a + b * 2": an empty result with the compiler's message
// when the text is no expression over the map's variables.
CompiledExpr CompileDebugExpression(const velmo::lang::DebugMap &map, const std::string &text, std::string &error);

// The compiler the debugger calls, bound to a map.
ExprCompiler DebugExpressionCompiler(const velmo::lang::DebugMap &map);

} // namespace velsim
