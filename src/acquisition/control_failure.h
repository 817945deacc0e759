// Why JV-Link could not be created (under Wine by the control library, or in this process on
// Windows), and what the program offers then, before or while it tells the user to install
// JV-Link: starting with the local data service.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace koyomi {

// The causes the program can name. The numbers cross the library boundary.
enum class ControlFailureKind : int {
    Other = 0,              // nothing that the local data service would mend
    WineNotFound = 1,       // no `wine` program on PATH
    NoPrefix = 2,           // the Wine prefix has not been set up
    HostDidNotStart = 3,    // jvlink-host.exe is missing, or did not start or greet
    NotRegistered = 4,      // "JVDTLab.JVLink" is not registered in the prefix
    ControlNotCreated = 5,  // registered, but creating it failed
    // JV-Link in this process (Windows); the library never names these.
    NotInstalled = 6,         // "JVDTLab.JVLink" is not registered on this computer
    InstalledNotCreated = 7,  // registered on this computer, but creating it failed
    // Under Wine again: the prefix, checked before any host is started.
    IncompleteSyswow64 = 8,   // a 64-bit prefix whose syswow64 lacks kernel32.dll
    PrefixOfAnotherUser = 9,  // the prefix folder belongs to another user
    // jvlink-host64.exe, for a JV-Link registered only for 64-bit programs, is missing, or
    // did not start or greet.
    Host64DidNotStart = 10,
};

struct ControlFailure {
    ControlFailureKind kind = ControlFailureKind::Other;
    std::filesystem::path wine_prefix;
    bool backend_from_environment = false;  // JVLINK_BACKEND, not the saved choice, chose Wine
    std::string reason;                     // the library's own words, UTF-8
    std::string advice;  // a line for the user on what would mend it, UTF-8; may be empty
};

// What the library's optional export gives, valid until its next call:
//   extern "C" const koyomi::ControlFailureDetailV1* koyomi_jvlink_failure_detail_v1();
struct ControlFailureDetailV1 {
    int kind;                 // a ControlFailureKind
    const char* wine_prefix;  // UTF-8, never null
    int backend_from_environment;
};
inline constexpr const char* kJVLinkFailureDetailName = "koyomi_jvlink_failure_detail_v1";

// Optional: saves the local data service as the chosen back end and makes the library's next
// objects in this process use it, whatever the environment says. 0, or -100 with the reason
// in koyomi_jvlink_failure_v1.
//   extern "C" int koyomi_jvlink_use_local_service_v1();
inline constexpr const char* kJVLinkUseLocalServiceName = "koyomi_jvlink_use_local_service_v1";

// The question put to the user: what happened, in which prefix, and whether to start with
// the local data service instead. None when that would not help (Other) or JV-Link was not
// tried under Wine.
std::optional<std::string> LocalServiceOfferText(const ControlFailure& failure);

// The presence box when JV-Link in this process cannot be created, with the question whether
// to try the program with the bundled sample data instead. None for every other failure.
std::optional<std::string> SampleDataOfferText(const ControlFailure& failure);

// The start-up box of a control that cannot be created: get and install JV-Link, and, when the
// library said why and no offer has already told it (Other, or JV-Link in this process that is
// registered but could not be created), its reason below; then the failure's advice, if any.
std::string ControlMissingText(const ControlFailure& failure);

}  // namespace koyomi
