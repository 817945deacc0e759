#include "codes/fixed_code_table.h"

namespace koyomi {

std::string PadToWidth(std::string sjis, int width, Padding padding) {
    if (width <= 0) {
        return sjis;
    }
    const auto target = static_cast<std::size_t>(width);
    if (padding == Padding::FullWidthSpaces) {
        while (sjis.size() + kFullWidthSpace.size() <= target) {
            sjis += kFullWidthSpace;
        }
    }
    if (sjis.size() < target) {
        sjis.append(target - sjis.size(), ' ');
    }
    return sjis;
}

}  // namespace koyomi
