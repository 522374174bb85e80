#pragma once

namespace mebrox {

// Registers the kit's run-time component classes, so that form files can name them.
void RegisterRuntimeClasses();

}  // namespace mebrox
