// Bringing a pane of paragraphs up to date a few at a time, so that no
// single step keeps the program busy for long, however much has changed.
// Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Replaces the paragraphs shown at [first, first + removed) by the wanted
// ones at [first, first + inserted).
struct ParagraphEdit {
    size_t first = 0;
    size_t removed = 0;
    size_t inserted = 0;
    bool operator==(const ParagraphEdit&) const = default;
};

// The next edit that brings `shown` closer to `wanted`, or nothing when they
// are equal. It touches only paragraphs between the longest common start
// and the longest common end of the two, and of those only about `budget`
// bytes' worth (but at least one paragraph), shared between the removed
// and the inserted ones. Applied one after the other, the edits reach
// `wanted` in about (bytes changed / budget) + 1 steps.
std::optional<ParagraphEdit> next_paragraph_edit(std::span<const std::string> shown,
                                                 std::span<const std::string> wanted, size_t budget);

// Does to `shown` what the edit does to the pane.
void apply_paragraph_edit(std::vector<std::string>& shown, std::span<const std::string> wanted,
                          const ParagraphEdit& edit);
