#pragma once

namespace ide {
class TDesignCore;
}

namespace mebrox::Htxtreg {

// Puts the hypertext control on the palette page "Mebrox" with the editors of its properties.
void Register(ide::TDesignCore& core);

}  // namespace mebrox::Htxtreg
