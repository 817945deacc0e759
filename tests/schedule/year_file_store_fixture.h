// The year-file store tests' folder: each record stored by a store of its own and written at
// once, so that the files after every record are what a fetch leaves when it stops there.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "schedule/year_file_store.h"
#include "testing/record_by_record_store.h"
#include "testing/temp_folder.h"

namespace koyomi::testing {

class YearFileStoreFixture : public ::testing::Test {
  protected:
    StoreResult Store(const std::string& record) {
        return StoreRecordAlone(folder_.path(), record);
    }
    std::filesystem::path YearFile(const char* year) const {
        return folder_.path() / YearFileName(year);
    }
    size_t EntriesInFolder() const {
        return static_cast<size_t>(
            std::distance(std::filesystem::directory_iterator(folder_.path()), {}));
    }

    TempFolder folder_;
};

}  // namespace koyomi::testing
