#pragma once

#include "host/Ticker.h"

namespace host::qt {

// Tickers on timers of Qt's event loop; a tick's exception goes to the application's handler.
TTickerFactory QtTickerFactory();

}  // namespace host::qt
