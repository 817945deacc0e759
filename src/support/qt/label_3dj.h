// A label that paints its caption with a 3-D effect: the text is drawn once more one pixel
// off in a light and a dark shade, so it looks raised or pressed into the surface.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace koyomi {

class TLabel3Dj : public QWidget {
    Q_OBJECT
  public:
    enum class Style { None, Raised, Recessed };

    explicit TLabel3Dj(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    void setStyle3D(Style style);
    Style style3D() const { return style_; }
    void setBackground(const QColor& colour);  // invalid colour: transparent
    void setTextColour(const QColor& colour);
    void setAlignment(Qt::Alignment alignment);

    // A text drawn at a horizontal pixel offset instead of the caption, for the scrolling band.
    void setTickerText(const QString& text);
    void setTickerX(int x);
    int tickerX() const { return tickerX_; }
    int tickerTextWidth() const;

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
    int tickerX_ = 0;
};

}  // namespace koyomi
