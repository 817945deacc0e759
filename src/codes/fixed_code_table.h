// A fixed table from code texts to display texts in several forms. The texts are written as
// UTF-8 and converted to code page 932 and padded once, when the table is built; a lookup
// then only copies a ready text.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/sjis_text.h"

namespace koyomi {

// How a text is filled up to its form's width.
enum class Padding {
    AsciiSpaces,      // ASCII spaces
    FullWidthSpaces,  // ideographic spaces while two bytes fit, then one ASCII space
};

// `sjis` filled up to `width` bytes; a text already that wide or wider stays as it is.
std::string PadToWidth(std::string sjis, int width, Padding padding);

// One form of a table: the `form` number callers pass, the width its texts are padded to
// (0: no padding), how, and the text of a code that the table does not list (UTF-8).
struct CodeForm {
    int form = 0;
    int width = 0;
    Padding padding = Padding::AsciiSpaces;
    std::string_view unlisted;
};

template <std::size_t N>
class FixedCodeTable {
  public:
    // One code with its texts (UTF-8, without padding), one text a form in the forms' order.
    struct Row {
        std::string_view code;
        std::array<std::string_view, N> texts;
    };

    FixedCodeTable(const std::array<CodeForm, N>& forms, std::span<const Row> rows) {
        for (std::size_t i = 0; i < N; ++i) {
            form_numbers_[i] = forms[i].form;
            unlisted_[i] = Utf8ToSjis(forms[i].unlisted);
        }
        entries_.reserve(rows.size());
        for (const Row& row : rows) {
            std::array<std::string, N> texts;
            for (std::size_t i = 0; i < N; ++i) {
                texts[i] = PadToWidth(Utf8ToSjis(row.texts[i]), forms[i].width, forms[i].padding);
            }
            entries_.emplace_back(std::string(row.code), std::move(texts));
        }
        // Stable, so that of two equal codes the first listed keeps winning.
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.first < b.first; });
    }

    // The text of `code` in `form`: the table's blank for an unlisted code, an empty text for
    // a form the table does not have. Codes compare as whole byte strings.
    std::string Text(std::string_view code, int form) const {
        const auto form_at = std::find(form_numbers_.begin(), form_numbers_.end(), form);
        if (form_at == form_numbers_.end()) {
            return {};
        }
        const auto index = static_cast<std::size_t>(form_at - form_numbers_.begin());
        const auto found = std::lower_bound(
            entries_.begin(), entries_.end(), code,
            [](const Entry& entry, std::string_view key) { return entry.first < key; });
        if (found == entries_.end() || found->first != code) {
            return unlisted_[index];
        }
        return found->second[index];
    }

  private:
    using Entry = std::pair<std::string, std::array<std::string, N>>;

    std::array<int, N> form_numbers_{};
    std::array<std::string, N> unlisted_;
    std::vector<Entry> entries_;
};

}  // namespace koyomi
