#include "text/rtf/rtf_prescan.h"

#include <algorithm>

#include "text/rtf/rtf_tokens.h"

namespace {

// Control words that begin a picture, a drawing or an embedded object.
constexpr std::string_view PICTURE_OR_OBJECT_WORDS[] = {
    "pict", "shppict", "nonshppict", "shp", "shpinst", "do", "object", "objdata", "objemb", "objlink",
};

bool is_picture_or_object(std::string_view name)
{
    return std::find(std::begin(PICTURE_OR_OBJECT_WORDS), std::end(PICTURE_OR_OBJECT_WORDS), name) !=
           std::end(PICTURE_OR_OBJECT_WORDS);
}

enum class BinData {
    skipped,     // as the RTF format has it
    read_as_rtf, // as Wine's control does
};

struct Reading {
    RtfVerdict verdict = RtfVerdict::ok;
    std::size_t offset = 0;
    int deepest = 0;
    bool pictures = false;
};

Reading read_document(std::string_view bytes, BinData bin_data)
{
    Reading reading;
    int depth = 0;
    std::size_t at = 0;
    const auto refuse = [&](RtfVerdict verdict) {
        reading.verdict = verdict;
        reading.offset = at;
        return reading;
    };
    while (at < bytes.size()) {
        const char c = bytes[at];
        if (c == '{') {
            if (++depth > MAX_GROUP_DEPTH) {
                reading.deepest = depth;
                return refuse(RtfVerdict::too_deep);
            }
            reading.deepest = std::max(reading.deepest, depth);
            ++at;
        } else if (c == '}') {
            ++at;
            if (depth > 0 && --depth == 0)
                break;
        } else if (c != '\\') {
            ++at;
        } else if (at + 1 == bytes.size() || !is_rtf_letter(bytes[at + 1])) {
            at = std::min(at + 2, bytes.size()); // a control symbol
        } else {
            const RtfControlWord word = read_rtf_control_word(bytes, at);
            reading.pictures = reading.pictures || is_picture_or_object(word.name);
            std::uint64_t raw = 0;
            if (word.name == "bin" && bin_data == BinData::skipped && !word.negative)
                raw = word.number;
            if (raw > MAX_BIN_BYTES)
                return refuse(RtfVerdict::bin_too_large);
            if (raw > bytes.size() - word.end)
                return refuse(RtfVerdict::bin_truncated);
            at = word.end + static_cast<std::size_t>(raw);
        }
    }
    reading.offset = at;
    return reading;
}

} // namespace

RtfScan scan_rtf(std::string_view bytes)
{
    const Reading as_written = read_document(bytes, BinData::skipped);
    const Reading by_wine = read_document(bytes, BinData::read_as_rtf);
    RtfScan scan;
    scan.has_pictures_or_objects = as_written.pictures;
    const bool wine_refuses_first = by_wine.verdict != RtfVerdict::ok &&
                                    (as_written.verdict == RtfVerdict::ok || by_wine.offset < as_written.offset);
    if (wine_refuses_first) {
        scan.verdict = by_wine.verdict;
        scan.offset = by_wine.offset;
        scan.depth = by_wine.deepest;
    } else if (as_written.verdict != RtfVerdict::ok) {
        scan.verdict = as_written.verdict;
        scan.offset = as_written.offset;
        scan.depth = as_written.deepest;
    } else {
        scan.offset = std::max(as_written.offset, by_wine.offset);
        scan.depth = std::max(as_written.deepest, by_wine.deepest);
    }
    return scan;
}
