#include "app/qt/startup_probe.h"

#include <QDateTime>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace koyomi {
namespace {

class FirstPaintReporter final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The rest of the window paints in the same pass; report once it is done.
            QTimer::singleShot(0, this, [this] {
                std::printf("first-paint-epoch-ms %lld\n",
                            static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
                std::fflush(stdout);
                deleteLater();
            });
        }
        return false;
    }
};

}  // namespace

void ReportFirstPaintWhenAsked(QWidget& window) {
    if (std::getenv("KOYOMIVW_REPORT_FIRST_PAINT") == nullptr) {
        return;
    }
    window.installEventFilter(new FirstPaintReporter(&window));
}

}  // namespace koyomi
