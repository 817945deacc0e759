// The records a service folder delivers, for tests and tools that need the sample data stored
// or modelled without going through a control.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace koyomi::testing {

// What the control delivers from a service folder that is read whole: the records of every
// data file (*.jvd), oldest file first, without their line ends.
std::vector<std::string> DeliveredRecords(const std::filesystem::path& service);

}  // namespace koyomi::testing
