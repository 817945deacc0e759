// The conversions through iconv, whose "CP932" table matches the Windows code page byte for
// byte.
#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

// Skips one UTF-8 sequence: the lead byte and any continuation bytes that follow it.
size_t SkipUtf8Char(const unsigned char* p, size_t left) {
    size_t n = 1;
    while (n < left && n < 4 && (p[n] & 0xC0) == 0x80) {
        ++n;
    }
    return n;
}
// One conversion with iconv. `bad_input` is written for every input sequence that cannot be
// converted; `bad_width` says how many input bytes such a sequence consumes. Opening a
// conversion costs more than converting a record, so each thread keeps one open converter per
// direction (see Converter below) and resets it before every use.
class IconvConverter {
  public:
    IconvConverter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~IconvConverter() {
        if (handle_ != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(handle_);
        }
    }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    template <typename SkipFn>
    std::string Convert(const char* data, size_t size, std::string_view replacement,
                        SkipFn skip_width) {
        std::string out;
        if (!ok()) {
            return out;
        }
        out.reserve(size * 2 + 8);
        std::vector<char>& buffer = buffer_;
        char* in = const_cast<char*>(data);
        size_t in_left = size;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        while (in_left > 0) {
            char* out_ptr = buffer.data();
            size_t out_left = buffer.size();
            size_t result = iconv(handle_, &in, &in_left, &out_ptr, &out_left);
            out.append(buffer.data(), buffer.size() - out_left);
            if (result != static_cast<size_t>(-1)) {
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL: replace the offending sequence and go on.
            out.append(replacement);
            size_t skip = skip_width(reinterpret_cast<const unsigned char*>(in), in_left);
            in += skip;
            in_left -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        char* out_ptr = buffer.data();
        size_t out_left = buffer.size();
        iconv(handle_, nullptr, nullptr, &out_ptr, &out_left);
        out.append(buffer.data(), buffer.size() - out_left);
        return out;
    }

  private:
    iconv_t handle_;
    std::vector<char> buffer_ = std::vector<char>(4096);
};

// This thread's open converter for one direction.
template <const char* To, const char* From>
IconvConverter& Converter() {
    thread_local IconvConverter converter(To, From);
    return converter;
}

constexpr char kCp932[] = "CP932";
constexpr char kUtf8[] = "UTF-8";

size_t SkipOneSjisByte(const unsigned char*, size_t) {
    return 1;
}

// A UTF-16 (native order) code unit pair counts as one character when it is a valid surrogate
// pair; a lone surrogate or unmappable unit is one unit.
size_t SkipUtf16Char(const unsigned char* p, size_t left) {
    if (left < 2) {
        return left;
    }
    char16_t unit;
    std::memcpy(&unit, p, 2);
    if (unit >= 0xD800 && unit <= 0xDBFF && left >= 4) {
        char16_t next;
        std::memcpy(&next, p + 2, 2);
        if (next >= 0xDC00 && next <= 0xDFFF) {
            return 4;
        }
    }
    return 2;
}

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

std::string_view ReplacementUtf16() {
    static const char16_t kUnit = 0xFFFD;
    return {reinterpret_cast<const char*>(&kUnit), 2};
}

std::u16string BytesToU16(const std::string& bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    if (!out.empty()) {
        std::memcpy(out.data(), bytes.data(), out.size() * 2);
    }
    return out;
}

// glibc names the machine's own UTF-16 order "UTF-16LE"/"UTF-16BE"; plain "UTF-16" would add
// a byte-order mark.
constexpr char kUtf16Native[] = {
    'U', 'T', 'F', '-', '1', '6', std::endian::native == std::endian::little ? 'L' : 'B',
    'E', '\0'};

}  // namespace

std::string Utf8ToSjis(std::string_view utf8) {
    IconvConverter& converter = Converter<kCp932, kUtf8>();
    return converter.Convert(utf8.data(), utf8.size(), "?", SkipUtf8Char);
}

std::string Utf16ToSjis(std::u16string_view utf16) {
    IconvConverter& converter = Converter<kCp932, kUtf16Native>();
    return converter.Convert(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2, "?",
                             SkipUtf16Char);
}

std::string SjisToUtf8(std::string_view sjis) {
    IconvConverter& converter = Converter<kUtf8, kCp932>();
    return converter.Convert(sjis.data(), sjis.size(), kReplacementUtf8, SkipOneSjisByte);
}

std::u16string SjisToUtf16(std::string_view sjis) {
    IconvConverter& converter = Converter<kUtf16Native, kCp932>();
    return BytesToU16(
        converter.Convert(sjis.data(), sjis.size(), ReplacementUtf16(), SkipOneSjisByte));
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    IconvConverter& converter = Converter<kUtf16Native, kUtf8>();
    return BytesToU16(
        converter.Convert(utf8.data(), utf8.size(), ReplacementUtf16(), SkipUtf8Char));
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    IconvConverter& converter = Converter<kUtf8, kUtf16Native>();
    return converter.Convert(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2,
                             kReplacementUtf8, SkipUtf16Char);
}

bool IsValidSjis(std::string_view sjis) {
    IconvConverter& converter = Converter<kUtf8, kCp932>();
    bool valid = true;
    converter.Convert(sjis.data(), sjis.size(), "",
                      [&valid](const unsigned char*, size_t) -> size_t {
                          valid = false;
                          return 1;
                      });
    return valid;
}

}  // namespace koyomi
