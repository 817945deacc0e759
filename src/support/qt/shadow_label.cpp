#include "support/qt/shadow_label.h"

#include <QFontMetrics>
#include <QPainter>

namespace koyomi {

ShadowLabel::ShadowLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ShadowLabel::SetCaption(const QString& caption) {
    if (caption_ == caption) {
        return;
    }
    caption_ = caption;
    setAccessibleName(caption);
    updateGeometry();
    update();
}

void ShadowLabel::SetStyle(Style style) {
    style_ = style;
    update();
}

void ShadowLabel::SetBackground(const QColor& colour) {
    background_ = colour;
    update();
}

void ShadowLabel::SetTextColour(const QColor& colour) {
    text_ = colour;
    update();
}

void ShadowLabel::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void ShadowLabel::SetTickerText(const QString& text) {
    if (ticker_ == text) {
        return;
    }
    ticker_ = text;
    update();
}

void ShadowLabel::SetTickerX(int x) {
    if (ticker_x_ == x) {
        return;
    }
    ticker_x_ = x;
    if (!ticker_.isEmpty()) {
        update();
    }
}

int ShadowLabel::TickerTextWidth() const {
    return QFontMetrics(font()).horizontalAdvance(ticker_);
}

QSize ShadowLabel::sizeHint() const {
    QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(caption_) + 4, metrics.height() + 4};
}

void ShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_.isValid()) {
        painter.fillRect(rect(), background_);
    }
    painter.setFont(font());
    if (!ticker_.isEmpty()) {
        painter.setClipRect(rect());
        painter.setPen(text_);
        painter.drawText(QPoint(ticker_x_, 2 + QFontMetrics(font()).ascent()), ticker_);
        return;
    }
    if (caption_.isEmpty()) {
        return;
    }
    const QRect area = rect().adjusted(1, 1, -1, -1);
    // Light above-left and dark below-right looks raised; the other way round, recessed.
    const QColor light = Qt::white;
    const QColor dark = QColor(0x60, 0x60, 0x60);
    if (style_ != Style::None) {
        const bool raised = style_ == Style::Raised;
        painter.setPen(raised ? light : dark);
        painter.drawText(area.translated(-1, -1), int(alignment_), caption_);
        painter.setPen(raised ? dark : light);
        painter.drawText(area.translated(1, 1), int(alignment_), caption_);
    }
    painter.setPen(text_);
    painter.drawText(area, int(alignment_), caption_);
}

}  // namespace koyomi
