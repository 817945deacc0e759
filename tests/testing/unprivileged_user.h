// Root may write anything, so what a user may not write is tried as another user: "nobody"
// when the tests run as root, the user running them otherwise. Tests in this process switch
// with UnprivilegedScope; a child process switches for good (the fetch driver's --user).
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <vector>

namespace koyomi::testing {

// True when the tests run as root and must switch to try a user's rights.
bool RunsAsRoot();

// The user (and same-numbered group) a test switches to when it runs as root.
inline constexpr uid_t kUnprivilegedUser = 65534;

// Gives `path`, and everything below a folder, to kUnprivilegedUser when running as root, so
// that it may use them as its own; does nothing otherwise. Throws when it cannot.
void GiveToUnprivilegedUser(const std::filesystem::path& path);

// For its lifetime the process's effective user and group are kUnprivilegedUser, without
// root's other groups, when running as root; nothing changes otherwise. Throws when the
// switch fails, so that no test passes with root's rights.
class UnprivilegedScope {
  public:
    UnprivilegedScope();
    ~UnprivilegedScope();
    UnprivilegedScope(const UnprivilegedScope&) = delete;
    UnprivilegedScope& operator=(const UnprivilegedScope&) = delete;

  private:
    bool switched_ = false;
    std::vector<gid_t> groups_;
};

}  // namespace koyomi::testing
