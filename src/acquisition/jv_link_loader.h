// Creating the JV-Link object by its ProgID. On Linux the control is a shared library in the
// program folder that exports one factory function; finding, loading and asking that factory
// is all that "creating by ProgID" means. On Windows it is the COM class registered under the
// ProgID, created in this process, unless the user has chosen the local data service, which the
// program then serves itself.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "acquisition/control_failure.h"
#include "acquisition/jv_link.h"
#include "support/result.h"

namespace koyomi {

inline constexpr std::string_view kJVLinkProgId = "JVDTLab.JVLink";
inline constexpr std::string_view kJVLinkLibraryFileName = "libjvlink.so";

// The factory the library exports with C linkage:
//   extern "C" koyomi::JVLink* koyomi_jvlink_create_v1();
// It returns a new object (null on failure) that the caller deletes through JVLink's virtual
// destructor while the library is still loaded. The "_v1" names this interface's layout.
inline constexpr const char* kJVLinkFactoryName = "koyomi_jvlink_create_v1";
using JVLinkFactory = JVLink* (*)();

// Optional: why the last factory call gave nothing, as UTF-8 text owned by the library.
//   extern "C" const char* koyomi_jvlink_failure_v1();
inline constexpr const char* kJVLinkFailureName = "koyomi_jvlink_failure_v1";

struct JVLinkCreation {
    std::unique_ptr<JVLink> link;  // null when the object could not be created
    std::string reason;            // why not, in UTF-8, for diagnostics
    ControlFailure failure;        // the library's cause of it (Other when it names none)
};

// Creates the object registered under `prog_id` from the library in `program_folder`. A ProgID
// other than kJVLinkProgId, a missing library, one that does not load, one without the factory
// or a factory that gives nothing all fail; nothing else does. Once loaded, the library stays
// loaded until the program ends.
// On Windows: the saved local data service for kJVLinkProgId, else the COM class, created on
// the calling thread, which becomes (or stays) a single-threaded apartment while the object
// lives; a ProgID that is not registered fails as ControlFailureKind::NotInstalled, any other
// failure as InstalledNotCreated.
JVLinkCreation CreateJVLinkObject(std::string_view prog_id,
                                  const std::filesystem::path& program_folder);

// Asks the library in `program_folder` to serve the local data service from now on and to save
// that choice (kJVLinkUseLocalServiceName). Fails when the library offers no such switch or
// could not save the choice. On Windows it saves the choice in the local data service's own
// settings, keeping the others.
Status UseLocalDataService(const std::filesystem::path& program_folder);

}  // namespace koyomi
