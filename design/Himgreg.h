#pragma once

namespace mebrox::Himgreg {

// Puts the hot image on the palette page "Mebrox" with its component and property editors.
void Register();

}  // namespace mebrox::Himgreg
