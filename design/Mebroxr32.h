#pragma once

namespace ide {
class TDesignCore;
}

namespace mebrox::Mebroxr32 {

// The package's registration, as the IDE calls it on loading the kit: the eight components on
// the palette page "Mebrox" in this order, each with its editors: hypertext control, hot
// image, hot area, effects label, wave player, pause button, project control, bookmark.
void Register(ide::TDesignCore& core);

}  // namespace mebrox::Mebroxr32
