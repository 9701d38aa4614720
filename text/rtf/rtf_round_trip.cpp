#include "text/rtf/rtf_round_trip.h"

#include "text/rtf/rtf_tokens.h"

std::string without_single_line_spacing(std::string_view rtf)
{
    std::string out;
    out.reserve(rtf.size());
    std::size_t copied = 0;
    for (std::size_t at = 0; at < rtf.size();) {
        if (rtf[at] != '\\' || at + 1 == rtf.size()) {
            ++at;
            continue;
        }
        if (!is_rtf_letter(rtf[at + 1])) {
            at += 2; // a control symbol, an escaped brace or backslash among them
            continue;
        }
        const RtfControlWord spacing = read_rtf_control_word(rtf, at);
        const bool single = spacing.name == "sl" && spacing.value() == -240 && !spacing.delimited &&
                            rtf.substr(spacing.end, 2) == "\\s";
        if (single) {
            const RtfControlWord multiple = read_rtf_control_word(rtf, spacing.end);
            if (multiple.name == "slmult" && multiple.value() == 1) {
                out.append(rtf, copied, at - copied);
                // The space that ends them ends the word before them now.
                if (multiple.delimited)
                    out += ' ';
                copied = at = multiple.end;
                continue;
            }
        }
        at = spacing.end;
    }
    out.append(rtf, copied);
    return out;
}
