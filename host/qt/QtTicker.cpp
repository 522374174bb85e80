#include "host/qt/QtTicker.h"

#include <QTimer>
#include <algorithm>

#include "host/Forms.h"

namespace host::qt {

namespace {

class QtTicker final : public ITicker {
 public:
  QtTicker(int intervalMs, std::function<void()> onTick) {
    FTimer.setInterval(std::max(intervalMs, 1));
    QObject::connect(&FTimer, &QTimer::timeout, [fn = std::move(onTick)] { HandleEvents(fn); });
    FTimer.start();
  }

 private:
  QTimer FTimer;
};

}  // namespace

TTickerFactory QtTickerFactory() {
  return [](int intervalMs, std::function<void()> onTick) -> std::unique_ptr<ITicker> {
    return std::make_unique<QtTicker>(intervalMs, std::move(onTick));
  };
}

}  // namespace host::qt
