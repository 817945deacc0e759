// One print job of the grid printer on a Qt printer: the job is opened, the grid printer adds
// its pages, the job is closed, and whatever went wrong is put in words for the user.
#pragma once

#include <QString>

#include "output/grid_printer.h"

class QPrinter;

namespace koyomi {

// Prints the target grid of `grid_printer` on `printer`; `screen_dpi_x` and `screen_dpi_y` are the
// resolution the grid is measured in on screen. Returns an empty text when every page went
// out, else the message for the user. The job is always closed, so the pages produced
// before a failure still reach the printer or the file.
QString PrintGridJob(GridPrinter& grid_printer, QPrinter& printer, int screen_dpi_x,
                     int screen_dpi_y);

// The printer's destination as the user knows it: the file of a PDF job, else the printer.
QString PrintDestination(const QPrinter& printer);

}  // namespace koyomi
