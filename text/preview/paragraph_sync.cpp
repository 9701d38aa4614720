#include "text/preview/paragraph_sync.h"

#include <algorithm>

namespace {

// How many paragraphs from `first` on fit in the budget; at least one, so
// that a paragraph larger than the whole budget still gets its turn.
size_t paragraphs_within(std::span<const std::string> paragraphs, size_t first, size_t count, size_t budget)
{
    size_t taken = 0;
    size_t bytes = 0;
    while (taken < count) {
        bytes += paragraphs[first + taken].size();
        if (taken > 0 && bytes > budget)
            break;
        ++taken;
    }
    return taken;
}

} // namespace

std::optional<ParagraphEdit> next_paragraph_edit(std::span<const std::string> shown,
                                                 std::span<const std::string> wanted, size_t budget)
{
    const size_t shorter = std::min(shown.size(), wanted.size());
    size_t common_start = 0;
    while (common_start < shorter && shown[common_start] == wanted[common_start])
        ++common_start;
    size_t common_end = 0;
    while (common_start + common_end < shorter &&
           shown[shown.size() - 1 - common_end] == wanted[wanted.size() - 1 - common_end])
        ++common_end;

    const size_t old_count = shown.size() - common_start - common_end;
    const size_t new_count = wanted.size() - common_start - common_end;
    if (old_count == 0 && new_count == 0)
        return std::nullopt;
    // With both to do, each gets half of the budget.
    const size_t share = old_count && new_count ? budget / 2 : budget;
    ParagraphEdit edit;
    edit.first = common_start;
    edit.removed = paragraphs_within(shown, common_start, old_count, share);
    edit.inserted = paragraphs_within(wanted, common_start, new_count, share);
    return edit;
}

void apply_paragraph_edit(std::vector<std::string>& shown, std::span<const std::string> wanted,
                          const ParagraphEdit& edit)
{
    const auto first = shown.begin() + static_cast<std::ptrdiff_t>(edit.first);
    shown.erase(first, first + static_cast<std::ptrdiff_t>(edit.removed));
    const auto from = wanted.begin() + static_cast<std::ptrdiff_t>(edit.first);
    shown.insert(shown.begin() + static_cast<std::ptrdiff_t>(edit.first), from,
                 from + static_cast<std::ptrdiff_t>(edit.inserted));
}
