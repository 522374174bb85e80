#pragma once

namespace mebrox::Hareareg {

// Puts the hot area on the palette page "Mebrox" with its component and property editors.
void Register();

}  // namespace mebrox::Hareareg
