#pragma once

namespace ide {
class TDesignCore;
}

namespace mebrox::Hareareg {

// Puts the hot area on the palette page "Mebrox" with its component and property editors.
void Register(ide::TDesignCore& core);

}  // namespace mebrox::Hareareg
