#pragma once

namespace mebrox::Htxtreg {

// Puts the hypertext control on the palette page "Mebrox" with the editors of its properties.
void Register();

}  // namespace mebrox::Htxtreg
