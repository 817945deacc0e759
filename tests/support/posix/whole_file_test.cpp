#include "support/whole_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "support/folder_lock.h"
#include "testing/files.h"
#include "testing/temp_folder.h"
#include "testing/unprivileged_user.h"

namespace koyomi {
namespace {

namespace fs = std::filesystem;
using testing::FolderNames;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

ino_t InodeOf(const fs::path& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

// A folder the unprivileged user owns, inside one every user may enter.
class UserFolder {
  public:
    UserFolder() {
        fs::permissions(shared_.path(),
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        fs::create_directory(folder_);
        testing::GiveToUnprivilegedUser(folder_);
    }
    const fs::path& path() const { return folder_; }

  private:
    TempFolder shared_{"koyomi-user", TempFolder::Place::kShared};
    fs::path folder_ = shared_ / "user";
};

TEST(ReplaceFileAtomically, AFileTheUserMayNotWriteStaysAsItWasAndTheFailureNamesIt) {
    UserFolder folder;
    const fs::path read_only = folder.path() / "2025年ｽｹｼﾞｭｰﾙ.jvYS";
    const fs::path others = folder.path() / "koyomivw.ini";
    WriteBytes(read_only, "old\r\n");
    WriteBytes(others, "[kikan]\r\nkikan=1\r\n");
    testing::GiveToUnprivilegedUser(read_only);
    fs::permissions(read_only, fs::perms::owner_read | fs::perms::group_read);
    // Another user's file in the user's own folder: the folder alone would let it be replaced.
    if (testing::RunsAsRoot()) {
        ASSERT_EQ(::chown(others.c_str(), 0, 0), 0);
    } else {
        fs::permissions(others, fs::perms::owner_read);
    }
    const ino_t inodes[] = {InodeOf(read_only), InodeOf(others)};

    testing::UnprivilegedScope as_user;
    for (const fs::path& file : {read_only, others}) {
        const std::string before = ReadBytes(file);
        const Status replaced = ReplaceFileAtomically(file, "new\r\n");
        ASSERT_FALSE(replaced) << file;
        EXPECT_EQ(Describe(replaced.Error()), file.string() + ": " + std::strerror(EACCES));
        EXPECT_EQ(ReadBytes(file), before);
    }
    EXPECT_EQ(InodeOf(read_only), inodes[0]);
    EXPECT_EQ(InodeOf(others), inodes[1]);
    EXPECT_EQ(FolderNames(folder.path()).size(), 2u);
}

TEST(ReplaceFileAtomically, ReplacesTheFileALinkPointsToAndKeepsItsPermissions) {
    TempFolder folder;
    const fs::path real = folder / "synced" / "2024.ics";
    const fs::path link = folder / "2024.ics";
    WriteBytes(real, "first");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, link);

    ASSERT_TRUE(ReplaceFileAtomically(link, "second"));
    ASSERT_TRUE(ReplaceFileAtomically(link, "third", {.sync = true}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), real);
    EXPECT_EQ(ReadBytes(real), "third");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(FolderNames(real.parent_path()), std::vector<std::string>{"2024.ics"});
}

TEST(RemoveLeftoverTemporaryFiles, RemovesOnlyItsOwnTemporaryFilesThatNoWriterHolds) {
    TempFolder folder;
    const std::vector<std::string> leftovers = {"2025年ｽｹｼﾞｭｰﾙ.jvYS.~0123456789ab",
                                                "koyomivw.ini.~fedcba987654"};
    const std::vector<std::string> kept = {"2025年ｽｹｼﾞｭｰﾙ.jvYS",   "notes.~0123456789AB",
                                           "notes.~0123456789a",   ".~0123456789ab",
                                           "notes.~0123456789abc", "held.ini.~00000000000f"};
    for (const auto& names : {leftovers, kept}) {
        for (const std::string& name : names) {
            WriteBytes(folder / name, "x");
        }
    }
    fs::create_directory(folder / "folder.~0123456789ab");
    fs::create_symlink(folder / kept[0], folder / "link.~0123456789ab");
    // A writer still at work holds its temporary file locked.
    const int held = ::open((folder / "held.ini.~00000000000f").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    EXPECT_EQ(RemoveLeftoverTemporaryFiles(folder.path()), 2);
    ::close(held);
    for (const std::string& name : leftovers) {
        EXPECT_FALSE(fs::exists(folder / name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    }
    EXPECT_TRUE(fs::is_directory(folder / "folder.~0123456789ab"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.~0123456789ab"));
    EXPECT_EQ(RemoveLeftoverTemporaryFiles(folder / "missing"), 0);
}

TEST(FolderLock, OneHolderAtATimeEvenInAFolderTheUserMayNotWriteAndNoneAfterAKill) {
    UserFolder folder;
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const testing::UnprivilegedScope as_user;
        const Result<FolderLock> lock = FolderLock::Take(folder.path());
        const char held = lock ? 'y' : 'n';
        (void)::write(ready[1], &held, 1);
        ::pause();
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');

    const Result<FolderLock> refused = FolderLock::Take(folder.path());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.Kind(), FailureKind::InUse);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    std::optional<Result<FolderLock>> taken(FolderLock::Take(folder.path()));
    ASSERT_TRUE(*taken);
    EXPECT_EQ(FolderLock::Take(folder.path()).Kind(), FailureKind::InUse);
    taken.reset();
    EXPECT_TRUE(FolderLock::Take(folder.path()));
    EXPECT_EQ(FolderLock::Take(folder.path() / "missing").Kind(), FailureKind::NotFound);
}

}  // namespace
}  // namespace koyomi
