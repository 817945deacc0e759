// The panel the schedule grid sits in. While the grid is hidden (no list yet) the panel is the
// empty grid area, and it shows what to do first, centred. The hint is the panel's own
// painting: it is never a cell, so copying, printing and the calendar never see it.
#pragma once

#include <QString>
#include <QWidget>

namespace koyomi {

// Q_OBJECT gives the panel its own type in Qt's object system, so findChild and qobject_cast
// tell it from the window's other widgets.
class GridHintPanel final : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;

    // An empty text paints nothing.
    void SetHint(const QString& text);
    const QString& Hint() const { return hint_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString hint_;
};

}  // namespace koyomi
