#include "app/qt/grid_hint_panel.h"

#include <QPainter>

namespace koyomi {

void GridHintPanel::SetHint(const QString& text) {
    if (text != hint_) {
        hint_ = text;
        update();
    }
}

void GridHintPanel::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (hint_.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
    const QRect area = rect().adjusted(16, 16, -16, -16);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, hint_);
}

}  // namespace koyomi
