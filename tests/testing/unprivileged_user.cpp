#include "testing/unprivileged_user.h"

#include <grp.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace koyomi::testing {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Throw(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void Give(const fs::path& path) {
    if (::lchown(path.c_str(), kUnprivilegedUser, kUnprivilegedUser) != 0) {
        Throw(("chown " + path.string()).c_str());
    }
}

}  // namespace

bool RunsAsRoot() {
    return ::geteuid() == 0;
}

void GiveToUnprivilegedUser(const fs::path& path) {
    if (!RunsAsRoot()) {
        return;
    }
    Give(path);
    if (fs::is_directory(fs::symlink_status(path))) {
        for (const auto& entry : fs::recursive_directory_iterator(path)) {
            Give(entry.path());
        }
    }
}

UnprivilegedScope::UnprivilegedScope() {
    if (!RunsAsRoot()) {
        return;
    }
    groups_.resize(static_cast<size_t>(::getgroups(0, nullptr)));
    if (::getgroups(static_cast<int>(groups_.size()), groups_.data()) < 0) {
        Throw("getgroups");
    }
    // Groups and group first: once the user is not root, neither may change.
    if (::setgroups(0, nullptr) != 0 || ::setegid(kUnprivilegedUser) != 0 ||
        ::seteuid(kUnprivilegedUser) != 0) {
        Throw("switching to the unprivileged user");
    }
    switched_ = true;
}

UnprivilegedScope::~UnprivilegedScope() {
    if (switched_) {
        // Back to root first: only root may set the groups again.
        (void)::seteuid(0);
        (void)::setegid(0);
        (void)::setgroups(groups_.size(), groups_.data());
    }
}

}  // namespace koyomi::testing
