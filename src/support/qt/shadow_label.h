// A label that paints its caption with a 3-D effect: the text is drawn once more one pixel
// off in a light and a dark shade, so it looks raised or pressed into the surface.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace koyomi {

class ShadowLabel : public QWidget {
    Q_OBJECT
  public:
    enum class Style { None, Raised, Recessed };

    explicit ShadowLabel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void SetCaption(const QString& caption);
    void SetStyle(Style style);
    Style style() const { return style_; }
    void SetBackground(const QColor& colour);  // invalid colour: transparent
    void SetTextColour(const QColor& colour);
    void SetAlignment(Qt::Alignment alignment);

    // A text drawn at a horizontal pixel offset instead of the caption, for the scrolling band.
    void SetTickerText(const QString& text);
    void SetTickerX(int x);
    int ticker_x() const { return ticker_x_; }
    int TickerTextWidth() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
    Style style_ = Style::Raised;
    QColor background_;
    QColor text_ = Qt::black;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    QString ticker_;
    int ticker_x_ = 0;
};

}  // namespace koyomi
