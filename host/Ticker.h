#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace host {

// Calls back on the user-interface thread now and then, from its start until it is destroyed,
// so that a display can follow something that moves by itself (a recording growing). What the
// display shows must come from a clock, never from counting ticks: ticks follow the machine's
// time, while tests and headless runs move a clock of their own.
class ITicker {
 public:
  virtual ~ITicker() = default;
};

// Starts a ticker that calls onTick about every intervalMs milliseconds.
using TTickerFactory =
    std::function<std::unique_ptr<ITicker>(int intervalMs, std::function<void()> onTick)>;

namespace detail {
inline TTickerFactory& InstalledTickerFactory() {
  static TTickerFactory factory;
  return factory;
}
// What ticks without a toolkit: nothing.
class TStillTicker final : public ITicker {};
}  // namespace detail

// The toolkit installs its tickers (Qt: timers of its event loop); tests install their own.
// Returns the factory installed before.
inline TTickerFactory SetTickerFactory(TTickerFactory factory) {
  return std::exchange(detail::InstalledTickerFactory(), std::move(factory));
}

// A ticker of the installed factory; without one, a ticker that never ticks.
inline std::unique_ptr<ITicker> StartTicker(int intervalMs, std::function<void()> onTick) {
  if (const TTickerFactory& factory = detail::InstalledTickerFactory())
    return factory(intervalMs, std::move(onTick));
  return std::make_unique<detail::TStillTicker>();
}

}  // namespace host
