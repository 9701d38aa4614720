// Reading a stored format from the front: the recovery copy's lines and
// fields, an undo piece's numbers and fields, a recovery copy's file name.
// Each read takes what it returns off the front, so that reading a whole
// input stays linear; a read that finds something else returns nothing, and
// the format gives up there. Pure text: no Windows headers.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : rest_(bytes) {}

    // The next `count` bytes.
    std::optional<std::string_view> take(std::size_t count)
    {
        if (count > rest_.size())
            return std::nullopt;
        const std::string_view taken = rest_.substr(0, count);
        rest_.remove_prefix(count);
        return taken;
    }

    std::optional<char> take_byte()
    {
        const auto taken = take(1);
        return taken ? std::optional<char>((*taken)[0]) : std::nullopt;
    }

    // Whether the rest starts with `expected`, which is taken when it does.
    bool take_prefix(std::string_view expected)
    {
        if (!rest_.starts_with(expected))
            return false;
        rest_.remove_prefix(expected.size());
        return true;
    }

    // The bytes up to the next `end`; the `end` is taken too.
    std::optional<std::string_view> take_until(char end)
    {
        const std::size_t found = rest_.find(end);
        if (found == std::string_view::npos)
            return std::nullopt;
        const std::string_view taken = rest_.substr(0, found);
        rest_.remove_prefix(found + 1);
        return taken;
    }

    // A 32-bit number, its lowest byte first.
    std::optional<std::uint32_t> take_u32_le()
    {
        const auto bytes = take(4);
        if (!bytes)
            return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes->size(); ++i)
            value |= std::uint32_t{static_cast<unsigned char>((*bytes)[i])} << (8 * i);
        return value;
    }

    bool at_end() const { return rest_.empty(); }
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

// Digits of the base (10, or 16 in lower case) and nothing else: no sign,
// no blanks. Leading zeros count for nothing. Nothing when there are no
// digits, another character or more than Number holds. Narrow or wide, for
// the file names that Windows gives.
template <std::unsigned_integral Number, typename Char>
std::optional<Number> parse_number(std::basic_string_view<Char> digits, unsigned base = 10)
{
    if (digits.empty())
        return std::nullopt;
    Number value = 0;
    for (Char c : digits) {
        unsigned digit = base;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        if (digit >= base || value > (std::numeric_limits<Number>::max() - digit) / base)
            return std::nullopt;
        value = static_cast<Number>(value * base + digit);
    }
    return value;
}
