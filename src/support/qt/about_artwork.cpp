#include "support/qt/about_artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

#include "support/qt/japanese_fonts.h"

namespace koyomi {

namespace {

void PaintSky(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, 110);
    sky.setColorAt(0.0, QColor(0x2B, 0x5F, 0xB3));
    sky.setColorAt(1.0, QColor(0xCB, 0xE8, 0xFF));
    painter.fillRect(QRect(0, 0, kAboutArtworkWidth, 112), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 150));
    for (const QRectF& cloud : {QRectF(150, 20, 46, 12), QRectF(170, 14, 34, 14),
                                QRectF(28, 78, 60, 10), QRectF(48, 72, 30, 12)}) {
        painter.drawEllipse(cloud);
    }
}

void PaintHillsAndStand(QPainter& painter) {
    QPainterPath hills;
    hills.moveTo(0, 104);
    hills.cubicTo(60, 84, 110, 98, 160, 92);
    hills.cubicTo(210, 86, 250, 80, 300, 96);
    hills.lineTo(300, 112);
    hills.lineTo(0, 112);
    hills.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x6E, 0x95, 0x7A));
    painter.drawPath(hills);
    // The grass around the course.
    painter.setBrush(QColor(0x35, 0x8A, 0x34));
    painter.drawRect(QRect(0, 106, kAboutArtworkWidth, kAboutArtworkHeight - 106));

    // The grandstand on the far side of the course.
    painter.setBrush(QColor(0xE8, 0xE8, 0xE0));
    painter.drawRect(QRect(196, 94, 78, 14));
    painter.setBrush(QColor(0x8A, 0x2B, 0x2B));
    painter.drawPolygon(
        QPolygon({QPoint(192, 96), QPoint(278, 96), QPoint(270, 89), QPoint(200, 89)}));
    painter.setPen(QPen(QColor(0x9A, 0x9A, 0x90), 1));
    for (int x = 202; x < 272; x += 8) {
        painter.drawLine(x, 98, x, 107);
    }
}

void PaintCourse(QPainter& painter) {
    const QRectF turf(-40, 104, 380, 140);
    const QRectF dirt(6, 126, 288, 96);
    const QRectF infield(44, 144, 212, 60);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3C, 0x9A, 0x3A));
    painter.drawEllipse(turf);
    // Mowing stripes on the turf.
    painter.setBrush(QColor(0x46, 0xA8, 0x43));
    painter.drawEllipse(turf.adjusted(12, 6, -12, -6));
    painter.setBrush(QColor(0x3C, 0x9A, 0x3A));
    painter.drawEllipse(turf.adjusted(22, 12, -22, -12));
    painter.setBrush(QColor(0xB9, 0x8B, 0x57));
    painter.drawEllipse(dirt);
    painter.setBrush(QColor(0x72, 0xC4, 0x4E));
    painter.drawEllipse(infield);
    painter.setBrush(QColor(0x5A, 0x9E, 0xD6));
    painter.drawEllipse(QRectF(118, 160, 64, 16));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawEllipse(turf.adjusted(2, 2, -2, -2));
    painter.drawEllipse(dirt.adjusted(-2, -2, 2, 2));
    painter.drawEllipse(infield.adjusted(-1, -1, 1, 1));
    // The winning post.
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(236, 104, 236, 116);
    painter.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2));
    painter.drawLine(236, 103, 236, 106);
}

// A horse seen from the side, galloping to the right, with the jockey's cap in the colour of
// its frame.
void PaintHorse(QPainter& painter, QPointF at, const QColor& cap) {
    painter.save();
    painter.translate(at);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor coat(0x5A, 0x33, 0x1E);
    painter.setPen(QPen(coat, 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(-4, 2), QPointF(-8, 6));  // hind legs
    painter.drawLine(QPointF(-3, 2), QPointF(-1, 6));
    painter.drawLine(QPointF(4, 2), QPointF(8, 5));  // forelegs
    painter.drawLine(QPointF(3, 2), QPointF(5, 6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(coat);
    painter.drawEllipse(QRectF(-6, -2.5, 12, 5.5));
    QPainterPath head;
    head.moveTo(4, -1);
    head.lineTo(8, -6);
    head.lineTo(11, -5);
    head.lineTo(7, 1);
    head.closeSubpath();
    painter.drawPath(head);
    painter.setBrush(QColor(0xF0, 0xF0, 0xF0));
    painter.drawEllipse(QRectF(-2, -6.5, 4, 4));  // silks
    painter.setBrush(cap);
    painter.drawEllipse(QRectF(-1.5, -9, 3.5, 3));
    painter.restore();
}

void PaintField(QPainter& painter) {
    // The eight frame colours of the Japanese race card.
    const std::array<QColor, 8> frames = {QColor(0xFF, 0xFF, 0xFF), QColor(0x20, 0x20, 0x20),
                                          QColor(0xE0, 0x20, 0x20), QColor(0x20, 0x50, 0xE0),
                                          QColor(0xF0, 0xE0, 0x20), QColor(0x20, 0xA0, 0x40),
                                          QColor(0xF0, 0x90, 0x20), QColor(0xF0, 0x90, 0xC0)};
    const std::array<QPointF, 6> places = {QPointF(108, 115), QPointF(122, 113), QPointF(131, 117),
                                           QPointF(146, 114), QPointF(157, 116), QPointF(176, 114)};
    for (size_t i = 0; i < places.size(); ++i) {
        PaintHorse(painter, places[i], frames[(i * 3 + 2) % frames.size()]);
    }
}

void PaintCalendar(QPainter& painter) {
    const QRect page(222, 10, 66, 62);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawRect(page.translated(3, 3));
    painter.setBrush(Qt::white);
    painter.drawRect(page);
    painter.setBrush(QColor(0xC8, 0x1E, 0x1E));
    painter.drawRect(QRect(page.left(), page.top(), page.width(), 13));
    // Rings of the wall calendar.
    painter.setBrush(QColor(0x50, 0x50, 0x50));
    painter.drawRect(QRect(page.left() + 14, page.top() - 3, 3, 6));
    painter.drawRect(QRect(page.right() - 16, page.top() - 3, 3, 6));

    QFont font = JapaneseFont(10, true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(page.left(), page.top() + 1, page.width(), 12), Qt::AlignCenter,
                     QStringLiteral("開催日"));

    // Seven days a row; Saturdays and Sundays are meeting days.
    const int cell = 9;
    const int left = page.left() + 2;
    const int top = page.top() + 16;
    for (int week = 0; week < 5; ++week) {
        for (int day = 0; day < 7; ++day) {
            const QRect box(left + day * cell, top + week * cell, cell - 1, cell - 1);
            const bool meeting = day >= 5;
            painter.setPen(Qt::NoPen);
            painter.setBrush(meeting ? QColor(0x3C, 0x9A, 0x3A) : QColor(0xE4, 0xE4, 0xE4));
            painter.drawRect(box);
        }
    }
    // One big day circled.
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xD0, 0x10, 0x10), 1.6));
    painter.drawEllipse(QRectF(left + 6 * cell - 2.5, top + 2 * cell - 2.5, cell + 4, cell + 4));
}

void PaintTitle(QPainter& painter) {
    const QString title = QStringLiteral("JRA 年間開催スケジュール");
    painter.setFont(JapaneseFont(17, true));
    painter.setPen(QColor(0x10, 0x22, 0x50, 160));
    painter.drawText(QPoint(15, 66), title);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(13, 64), title);
}

}  // namespace

QImage PaintAboutArtwork() {
    QImage image(kAboutArtworkWidth, kAboutArtworkHeight, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PaintSky(painter);
    PaintHillsAndStand(painter);
    PaintCourse(painter);
    PaintField(painter);
    PaintCalendar(painter);
    PaintTitle(painter);
    painter.end();
    return image;
}

}  // namespace koyomi
