// What the year files must hold after the first p records of a fetch have been delivered, for
// every p, so that files found after a crash or a fault can be matched to the records stored.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "year_file_model.h"

namespace koyomi::reliability {

// Year -> the text of its file; a year without a file has no entry.
using YearTexts = std::map<std::string, std::string>;

class FetchModel {
  public:
    // `before`: the year files before the fetch; `records`: what JV-Link delivers, in order,
    // without their CR LF (records of other kinds included).
    FetchModel(const YearTexts& before, const std::vector<std::string>& records)
        : before_(before), records_(records) {
        std::map<std::string, std::vector<std::string>> lines;
        YearTexts texts = before;
        for (const auto& [year, text] : before) {
            lines[year] = model::SplitYearFileText(text);
        }
        hashes_.push_back(Hashes(texts));
        for (const std::string& record : records_) {
            if (const std::optional<std::string> line = model::ScheduleLineOf(record)) {
                const std::string year(model::LineYear(*line));
                model::MergeLine(lines[year], *line);
                texts[year] = model::YearFileText(lines[year]);
            }
            hashes_.push_back(Hashes(texts));
        }
    }

    size_t RecordCount() const { return records_.size(); }

    // The year files after the first `delivered` records.
    YearTexts TextsAfter(size_t delivered) const {
        std::map<std::string, std::vector<std::string>> lines;
        YearTexts texts = before_;
        for (const auto& [year, text] : before_) {
            lines[year] = model::SplitYearFileText(text);
        }
        for (size_t i = 0; i < delivered && i < records_.size(); ++i) {
            if (const std::optional<std::string> line = model::ScheduleLineOf(records_[i])) {
                const std::string year(model::LineYear(*line));
                model::MergeLine(lines[year], *line);
                texts[year] = model::YearFileText(lines[year]);
            }
        }
        return texts;
    }

    // Every p (0 to RecordCount) whose files are exactly `found`.
    std::vector<size_t> MatchingPrefixes(const YearTexts& found) const {
        const std::map<std::string, size_t> hashes = Hashes(found);
        std::vector<size_t> matches;
        for (size_t p = 0; p < hashes_.size(); ++p) {
            if (hashes_[p] == hashes && TextsAfter(p) == found) {
                matches.push_back(p);
            }
        }
        return matches;
    }

  private:
    static std::map<std::string, size_t> Hashes(const YearTexts& texts) {
        std::map<std::string, size_t> hashes;
        for (const auto& [year, text] : texts) {
            hashes[year] = std::hash<std::string>{}(text);
        }
        return hashes;
    }

    YearTexts before_;
    std::vector<std::string> records_;
    std::vector<std::map<std::string, size_t>> hashes_;  // one entry per p
};

}  // namespace koyomi::reliability
