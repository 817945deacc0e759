// What clipboard copy and printing read of the schedule grid: its cells (code page 932) and
// its on-screen geometry.
#pragma once

#include <string>

namespace koyomi {

class GridSource {
  public:
    virtual ~GridSource() = default;
    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual std::string Cell(int col, int row) const = 0;
    // Screen pixels.
    virtual int ColWidth(int col) const = 0;
    virtual int RowHeight(int row) const = 0;
};

}  // namespace koyomi
