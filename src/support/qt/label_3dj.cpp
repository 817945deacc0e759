#include "support/qt/label_3dj.h"

#include <QFontMetrics>
#include <QPainter>

namespace koyomi {

TLabel3Dj::TLabel3Dj(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TLabel3Dj::setCaption(const QString& caption) {
    if (caption_ == caption) {
        return;
    }
    caption_ = caption;
    setAccessibleName(caption);
    updateGeometry();
    update();
}

void TLabel3Dj::setStyle3D(Style style) {
    style_ = style;
    update();
}

void TLabel3Dj::setBackground(const QColor& colour) {
    background_ = colour;
    update();
}

void TLabel3Dj::setTextColour(const QColor& colour) {
    text_ = colour;
    update();
}

void TLabel3Dj::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void TLabel3Dj::setTickerText(const QString& text) {
    if (ticker_ == text) {
        return;
    }
    ticker_ = text;
    update();
}

void TLabel3Dj::setTickerX(int x) {
    if (tickerX_ == x) {
        return;
    }
    tickerX_ = x;
    if (!ticker_.isEmpty()) {
        update();
    }
}

int TLabel3Dj::tickerTextWidth() const {
    return QFontMetrics(font()).horizontalAdvance(ticker_);
}

QSize TLabel3Dj::sizeHint() const {
    QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(caption_) + 4, metrics.height() + 4};
}

void TLabel3Dj::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_.isValid()) {
        painter.fillRect(rect(), background_);
    }
    painter.setFont(font());
    if (!ticker_.isEmpty()) {
        painter.setClipRect(rect());
        painter.setPen(text_);
        painter.drawText(QPoint(tickerX_, 2 + QFontMetrics(font()).ascent()), ticker_);
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
