// One print job of the grid printer on a Qt printer: the job is opened, the grid printer adds
// its pages, the job is closed, and whatever went wrong is put in words for the user.
#pragma once

#include <QString>

#include "output/str_grid_printer.h"

class QPrinter;

namespace koyomi {

// Prints the target grid of `gridPrinter` on `printer`; `screenDpiX` and `screenDpiY` are the
// resolution the grid is measured in on screen. Returns an empty text when every page went
// out, else the message for the user. The job is always closed, so the pages produced
// before a failure still reach the printer or the file.
QString PrintGridJob(TStrGridPrinter& gridPrinter, QPrinter& printer, int screenDpiX,
                     int screenDpiY);

// The printer's destination as the user knows it: the file of a PDF job, else the printer.
QString PrintDestination(const QPrinter& printer);

}  // namespace koyomi
