// How far a long piece of work has got, for whoever shows it to the user:
// the work calls it now and then with what it has done of its whole, first
// with nothing done. It is called while the Editor control may be in the
// middle of a change, so it never touches that control.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

using ProgressReport = std::function<void(std::uint64_t done, std::uint64_t whole)>;

// Tells `report`, if there is one, how far the work has got.
inline void report_progress(const ProgressReport& report, std::uint64_t done, std::uint64_t whole)
{
    if (report)
        report(done, whole);
}

// A part of a larger piece of work, which the parts before it had `before`
// of and this one `part`: what it reports in its own measure, reported as
// part of the whole.
inline ProgressReport progress_part(const ProgressReport& report, std::uint64_t before, std::uint64_t part,
                                    std::uint64_t whole)
{
    if (!report)
        return {};
    return [&report, before, part, whole](std::uint64_t done, std::uint64_t own_whole) {
        const std::uint64_t share = own_whole == 0 ? part : part * std::min(done, own_whole) / own_whole;
        report(before + share, whole);
    };
}
