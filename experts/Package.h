#pragma once

namespace ide {
class TDesignCore;
}

namespace mebrox {

// The kit's registration, as the IDE runs it on loading the package: the palette page "Mebrox"
// with the components and their editors, the project control's editor, and the two experts,
// all into core.
void RegisterPackage(ide::TDesignCore& core);

}  // namespace mebrox
