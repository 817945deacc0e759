// One print job of the list as the program asks a window system for it, and where it went.
#pragma once

#include <filesystem>
#include <string>

#include "output/grid_printer.h"
#include "schedule/schedule_grid.h"

namespace koyomi {

// One print job of the list, as the viewer asks for it.
struct PrintRequest {
    GridPrinter* printer = nullptr;  // set up with margins and the page title
    const ScheduleGrid* grid = nullptr;
    std::string title;               // code page 932: names the job and a PDF file's document
    std::filesystem::path pdf_file;  // where pages go when the machine has no printer
};

// Where a print job went, as the user knows it: a file or a printer.
struct PrintedTo {
    bool to_file = false;
    std::string destination;
};

}  // namespace koyomi
