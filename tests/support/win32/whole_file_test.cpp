#include "support/whole_file.h"

#include <windows.h>

#include <iterator>
#include <optional>

#include <gtest/gtest.h>

#include "support/folder_lock.h"
#include "support/win32/windows_error.h"
#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A handle another program keeps open, sharing the file with nobody.
class HeldOpen {
  public:
    HeldOpen(const fs::path& file, DWORD access)
        : handle_(CreateFileW(file.c_str(), access, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() { CloseHandle(handle_); }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

TEST(ReplaceFileAtomically, AReadOnlyFileOrOneHeldOpenStaysAsItWasAndTheFailureSaysWhy) {
    TempFolder folder("koyomi 年");
    const fs::path read_only = folder / u8"2025年ｽｹｼﾞｭｰﾙ.jvYS";
    const fs::path held = folder / "koyomivw.ini";
    WriteBytes(read_only, "old\r\n");
    WriteBytes(held, "[kikan]\r\nkikan=1\r\n");
    ASSERT_TRUE(SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_READONLY));

    const Status refused = ReplaceFileAtomically(read_only, "new\r\n");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.File(), read_only);
    EXPECT_EQ(refused.Reason(), WindowsErrorReason(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadBytes(read_only), "old\r\n");
    {
        const HeldOpen other(held, GENERIC_READ);
        ASSERT_TRUE(other.valid());
        const Status in_use = ReplaceFileAtomically(held, "[kikan]\r\nkikan=2\r\n");
        ASSERT_FALSE(in_use);
        EXPECT_EQ(in_use.Kind(), FailureKind::InUse);
        EXPECT_EQ(in_use.File(), held);
    }
    EXPECT_EQ(ReadBytes(held), "[kikan]\r\nkikan=1\r\n");
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
    EXPECT_TRUE(ReplaceFileAtomically(held, "[kikan]\r\nkikan=2\r\n"));
    EXPECT_EQ(ReadBytes(held), "[kikan]\r\nkikan=2\r\n");
}

TEST(ReplaceFileAtomically, KeepsAnExistingFilesAttributesAndStampsWhatItWrote) {
    TempFolder folder;
    const fs::path hidden = folder / "2024.ics";
    const fs::path fresh = folder / u8"2026年ｽｹｼﾞｭｰﾙ.jvYS";
    WriteBytes(hidden, "first");
    ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_NE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    FileStamp written;
    ASSERT_TRUE(ReplaceFileAtomically(hidden, "second", {.sync = true, .written = &written}));
    EXPECT_EQ(ReadBytes(hidden), "second");
    EXPECT_NE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(StampOf(hidden), written);
    ASSERT_TRUE(ReplaceFileAtomically(fresh, "YS\r\n", {.written = &written}));
    EXPECT_EQ(ReadWholeRegularFile(fresh).Value(), "YS\r\n");
    EXPECT_EQ(StampOf(fresh), written);
    EXPECT_EQ(EntriesIn(folder.path()), 2u);

    EXPECT_EQ(ReadWholeRegularFile(folder.path()).Kind(), FailureKind::NotRegularFile);
    EXPECT_EQ(ReadWholeRegularFile(folder / "missing").Kind(), FailureKind::NotFound);
    EXPECT_EQ(ReadWholeRegularFile(fresh, 3).Kind(), FailureKind::TooLarge);
    EXPECT_EQ(ReplaceFileAtomically(folder.path(), "x").Kind(), FailureKind::NotRegularFile);
}

TEST(RemoveLeftoverTemporaryFiles, RemovesOnlyItsOwnTemporaryFilesThatNoWriterHolds) {
    TempFolder folder;
    const std::vector<fs::path> leftovers = {u8"2025年ｽｹｼﾞｭｰﾙ.jvYS.~0123456789ab",
                                             "koyomivw.ini.~fedcba987654"};
    const std::vector<fs::path> kept = {u8"2025年ｽｹｼﾞｭｰﾙ.jvYS", "notes.~0123456789a",
                                        ".~0123456789ab", "notes.~0123456789abc",
                                        "held.ini.~00000000000f"};
    for (const auto& names : {leftovers, kept}) {
        for (const fs::path& name : names) {
            WriteBytes(folder / name, "x");
        }
    }
    fs::create_directory(folder / "folder.~0123456789ab");
    {
        const HeldOpen writer(folder / "held.ini.~00000000000f", GENERIC_WRITE);
        ASSERT_TRUE(writer.valid());
        EXPECT_EQ(RemoveLeftoverTemporaryFiles(folder.path()), 2);
    }
    for (const fs::path& name : leftovers) {
        EXPECT_FALSE(fs::exists(folder / name)) << name;
    }
    for (const fs::path& name : kept) {
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    }
    EXPECT_TRUE(fs::is_directory(folder / "folder.~0123456789ab"));
    EXPECT_EQ(RemoveLeftoverTemporaryFiles(folder / "missing"), 0);
}

TEST(FolderLock, OneHolderAtATimeUnderAnySpellingOfTheFolder) {
    TempFolder folder("koyomi データ");
    std::optional<Result<FolderLock>> taken(FolderLock::Take(folder.path()));
    ASSERT_TRUE(*taken);
    const Result<FolderLock> again = FolderLock::Take(folder / "." / "");
    ASSERT_FALSE(again);
    EXPECT_EQ(again.Kind(), FailureKind::InUse);
    EXPECT_TRUE(FolderLock::Take(fs::temp_directory_path()));

    taken.reset();
    EXPECT_TRUE(FolderLock::Take(folder.path()));
    EXPECT_EQ(FolderLock::Take(folder / "missing").Kind(), FailureKind::NotFound);
}

}  // namespace
}  // namespace koyomi
