#include "text/preview/paragraph_sync.h"
#include "text_generators.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using Paragraphs = std::vector<std::string>;

struct SyncRun {
    Paragraphs shown;
    size_t steps = 0;
    size_t largest_step = 0; // bytes removed and inserted in one step
};

// Applies edits until nothing is left to do, as the pane would.
SyncRun bring_up_to_date(Paragraphs shown, const Paragraphs& wanted, size_t budget)
{
    SyncRun run;
    const size_t step_limit = 10 * (shown.size() + wanted.size()) + 10;
    while (const auto edit = next_paragraph_edit(shown, wanted, budget)) {
        size_t bytes = 0;
        for (size_t i = 0; i < edit->removed; ++i)
            bytes += shown[edit->first + i].size();
        for (size_t i = 0; i < edit->inserted; ++i)
            bytes += wanted[edit->first + i].size();
        run.largest_step = std::max(run.largest_step, bytes);
        apply_paragraph_edit(shown, wanted, *edit);
        if (++run.steps > step_limit)
            break; // it would never end
    }
    run.shown = std::move(shown);
    return run;
}

TEST(ParagraphSync, TouchesOnlyWhatChanged)
{
    const Paragraphs shown = {"a", "b", "c", "d"};
    EXPECT_EQ(next_paragraph_edit(shown, shown, 100), std::nullopt);
    EXPECT_EQ(next_paragraph_edit(shown, Paragraphs{"a", "B", "c", "d"}, 100), (ParagraphEdit{1, 1, 1}));
    EXPECT_EQ(next_paragraph_edit(shown, Paragraphs{"a", "b", "x", "y", "c", "d"}, 100), (ParagraphEdit{2, 0, 2}));
    EXPECT_EQ(next_paragraph_edit(shown, Paragraphs{"a", "d"}, 100), (ParagraphEdit{1, 2, 0}));
    // A repeated paragraph is kept once, not counted at both ends.
    EXPECT_EQ(next_paragraph_edit(Paragraphs{"a", "a"}, Paragraphs{"a"}, 100), (ParagraphEdit{1, 1, 0}));
    EXPECT_EQ(next_paragraph_edit({}, Paragraphs{"a"}, 100), (ParagraphEdit{0, 0, 1}));
}

TEST(ParagraphSync, ALargeChangeGoesInStepsWithinTheBudget)
{
    const Paragraphs old_text(100, std::string(50, 'o'));
    const Paragraphs new_text(80, std::string(70, 'n'));
    const SyncRun run = bring_up_to_date(old_text, new_text, 1000);
    EXPECT_EQ(run.shown, new_text);
    EXPECT_LE(run.largest_step, 1000u);
    // 5,000 bytes out and 5,600 in, 500 of each a step.
    EXPECT_LE(run.steps, 13u);

    // A paragraph larger than the budget still gets its turn.
    EXPECT_EQ(bring_up_to_date({"x"}, {std::string(5000, 'y'), "z"}, 1000).steps, 2u);
}

TEST(ParagraphSync, AnyParagraphsReachTheWantedOnes)
{
    gen::Random random(11);
    const auto paragraphs = [&] {
        Paragraphs list(gen::below(random, 30));
        for (auto& paragraph : list)
            paragraph = std::string(1 + gen::below(random, 3), static_cast<char>('a' + gen::below(random, 3)));
        return list;
    };
    for (int i = 0; i < 5000; ++i) {
        const Paragraphs shown = paragraphs();
        const Paragraphs wanted = paragraphs();
        const size_t budget = 1 + gen::below(random, 12);
        const SyncRun run = bring_up_to_date(shown, wanted, budget);
        ASSERT_EQ(run.shown, wanted) << testing::PrintToString(shown) << " to " << testing::PrintToString(wanted);
        const size_t total = std::accumulate(shown.begin(), shown.end(), size_t{0},
                                             [](size_t sum, const std::string& p) { return sum + p.size(); }) +
                             std::accumulate(wanted.begin(), wanted.end(), size_t{0},
                                             [](size_t sum, const std::string& p) { return sum + p.size(); });
        ASSERT_LE(run.steps, total / budget + shown.size() + wanted.size() + 1);
    }
}

} // namespace
