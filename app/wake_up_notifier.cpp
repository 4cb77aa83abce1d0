#include "app/wake_up_notifier.h"

#include <QObject>
#include <QSocketNotifier>
#include <utility>

namespace orvela::app {

WakeUpNotifier::WakeUpNotifier(QObject& context, std::function<void()> woken)
{
    if (wake_.Fd() < 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(wake_.Fd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, &context, [this, woken = std::move(woken)] {
        wake_.Clear();
        woken();
    });
}

WakeUpNotifier::~WakeUpNotifier() = default;

} // namespace orvela::app
