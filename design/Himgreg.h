#pragma once

namespace ide {
class TDesignCore;
}

namespace mebrox::Himgreg {

// Puts the hot image on the palette page "Mebrox" with its component and property editors.
void Register(ide::TDesignCore& core);

}  // namespace mebrox::Himgreg
