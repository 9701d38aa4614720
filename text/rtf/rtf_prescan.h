// A check of RTF bytes before they are streamed into the rich-edit control,
// which crashes on some documents instead of refusing them. Pure text: no
// Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The most groups that may be open at once, the document's outer group
// counted. Observed with Wine 8.0's RICHED32 (EM_STREAMIN with SF_RTF): 32
// open groups load; the 33rd opening brace makes the reader page-fault,
// whether or not the groups are closed again, and also when they stand
// before \rtf1, inside an ignored destination such as {\*\x ...} or inside
// \bin data.
inline constexpr int MAX_GROUP_DEPTH = 32;

// The most bytes of raw data a \bin may announce. Wine's control does not
// skip \bin data but reads it as more RTF: the bytes of a picture become
// characters and their braces groups, and random bytes take some 6 to 7
// seconds a MiB to load (observed). No picture worth having in a forum post
// needs more, and the editor does not keep pictures anyway.
inline constexpr std::uint64_t MAX_BIN_BYTES = 1024 * 1024;

enum class RtfVerdict {
    ok,
    too_deep,      // more than MAX_GROUP_DEPTH groups open at once
    bin_too_large, // \binN with N above MAX_BIN_BYTES
    bin_truncated, // \binN with fewer than N bytes after it
};

struct RtfScan {
    RtfVerdict verdict = RtfVerdict::ok;
    // Where it was decided: for a refusal, the "{" of the group one too deep
    // or the backslash of the \bin; when ok, the end of the document.
    std::size_t offset = 0;
    // The deepest nesting met (MAX_GROUP_DEPTH + 1 when too deep).
    int depth = 0;
    // Whether the document, as far as it was read, holds a picture or an
    // embedded object (\pict, \object, \shp and their kin), which the
    // editor will not save.
    bool has_pictures_or_objects = false;
};

// Decides in linear time whether the control can take the bytes. The rules
// of reading, which the RTF format and the control share:
//  - "{" opens a group and "}" closes one; a "}" with no group open is
//    ignored. The document ends where its outer group closes: the control
//    reads nothing after that, and neither does the scan.
//  - A backslash and a non-letter is a control symbol, so \{ \} and \\ are
//    no braces. A backslash and letters is a control word, with an optional
//    number (a "-" and digits, or digits) and an optional space after it.
//  - Braces count anywhere else: inside destinations, after \' and \u.
// The bytes are read twice, because the readers differ on \binN. In the RTF
// format the N bytes after it (after its space, if any) are raw data whose
// braces and backslashes count for nothing; Wine's control reads them as
// RTF. Too deep a nesting in either reading refuses the document (the
// earlier one is reported); the \bin limits apply to the first. A \bin with
// no number or a negative one announces no data.
RtfScan scan_rtf(std::string_view bytes);
