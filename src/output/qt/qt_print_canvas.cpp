#include "output/qt/qt_print_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QPrinter>

#include "support/qt/qt_text.h"

namespace koyomi {

namespace {

QColor ColourOf(RgbColour colour) {
    return QColor(static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>(colour & 0xFF));
}

}  // namespace

QtPrintCanvas::QtPrintCanvas(QPrinter& printer, int screen_dpi_x, int screen_dpi_y)
    : printer_(printer), screen_dpi_x_(screen_dpi_x), screen_dpi_y_(screen_dpi_y) {
    if (painter_.begin(&printer_)) {
        // Text has no background and rectangles no fill, whatever the platform's defaults.
        painter_.setBackgroundMode(Qt::TransparentMode);
        painter_.setBrush(Qt::NoBrush);
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }
}

QtPrintCanvas::~QtPrintCanvas() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

bool QtPrintCanvas::End() {
    return painter_.isActive() && painter_.end();
}

int QtPrintCanvas::PrinterResolutionX() const {
    return printer_.logicalDpiX();
}

int QtPrintCanvas::PrinterResolutionY() const {
    return printer_.logicalDpiY();
}

int QtPrintCanvas::PageWidth() const {
    // The device's size is its printable area; the painter's origin is its top-left corner.
    return printer_.width();
}

int QtPrintCanvas::PageHeight() const {
    return printer_.height();
}

Status QtPrintCanvas::CheckOpen() const {
    if (!painter_.isActive()) {
        return Fail("印刷ジョブが開かれていません");
    }
    return {};
}

Status QtPrintCanvas::SetFont(const FontDescription& font) {
    if (Status open = CheckOpen(); !open) {
        return open;
    }
    QFont qfont(SjisToQString(font.face));
    // Points, so the printed text has the physical size it has on screen.
    qfont.setPointSizeF(font.pointSize > 0 ? font.pointSize : 9.0);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    painter_.setFont(qfont);
    font_colour_ = ColourOf(font.colour);
    return {};
}

void QtPrintCanvas::SetPenColour(RgbColour colour) {
    pen_colour_ = ColourOf(colour);
}

Status QtPrintCanvas::SetBrushClear() {
    if (Status open = CheckOpen(); !open) {
        return open;
    }
    painter_.setBrush(Qt::NoBrush);
    painter_.setBackgroundMode(Qt::TransparentMode);
    return {};
}

void QtPrintCanvas::DrawText(int x, int y, const std::string& text) {
    painter_.setPen(QPen(font_colour_));
    // The painter places text on its baseline; (x, y) is the text's top-left corner.
    painter_.drawText(QPoint(x, y + painter_.fontMetrics().ascent()), SjisToQString(text));
}

Status QtPrintCanvas::TextRect(const PixelRect& clip, int x, int y, const std::string& text) {
    if (Status open = CheckOpen(); !open) {
        return open;
    }
    if (text.empty() || clip.right <= clip.left || clip.bottom <= clip.top) {
        return {};
    }
    painter_.setClipRect(
        QRect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top));
    DrawText(x, y, text);
    painter_.setClipping(false);
    return {};
}

Status QtPrintCanvas::TextOut(int x, int y, const std::string& text) {
    if (Status open = CheckOpen(); !open) {
        return open;
    }
    if (!text.empty()) {
        DrawText(x, y, text);
    }
    return {};
}

Status QtPrintCanvas::FrameRect(const PixelRect& rect) {
    if (Status open = CheckOpen(); !open) {
        return open;
    }
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return {};
    }
    // One device pixel wide, covering the pixels from (left, top) to (right - 1, bottom - 1).
    QPen pen(pen_colour_);
    pen.setWidth(1);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(
        QRect(rect.left, rect.top, rect.right - rect.left - 1, rect.bottom - rect.top - 1));
    return {};
}

Status QtPrintCanvas::NewPage() {
    if (!printer_.newPage()) {
        return Fail("プリンタが次のページを始められませんでした");
    }
    return {};
}

}  // namespace koyomi
