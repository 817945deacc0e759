// The panel the schedule grid sits in. While the grid is hidden (no list yet) the panel is the
// empty grid area, and it shows what to do first, centred. The hint is the panel's own
// painting: it is never a cell, so copying, printing and the calendar never see it.
#pragma once

#include <QString>
#include <QWidget>

namespace koyomi {

class GridHintPanel final : public QWidget {
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
