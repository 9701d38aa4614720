#include "app/paste_commands.h"

#include "app/main_window_state.h"
#include "app/post_review.h"
#include "app/settings.h"
#include "editor/clipboard.h"
#include "res/resource_ids.h"
#include "win/messages.h"

namespace {

// The note for a paste that took the plain text instead; 0 for none.
UINT note_for(PasteOutcome outcome)
{
    switch (outcome) {
    case PasteOutcome::rich_text_unsafe:
        return IDS_PASTED_AS_TEXT;
    case PasteOutcome::html_unreadable:
        return IDS_PASTED_HTML_UNREADABLE;
    case PasteOutcome::html_too_large:
        return IDS_PASTED_HTML_TOO_LARGE;
    case PasteOutcome::html_too_deep:
        return IDS_PASTED_HTML_TOO_DEEP;
    default:
        return 0;
    }
}

void paste(MainWindowState& state, PasteAs as, const ProgressReport& progress)
{
    const PasteOutcome outcome =
        paste_within_limit(state.parts.editor, DOCUMENT_SIZE_LIMIT, as, paste_options(state), progress);
    if (const UINT note = note_for(outcome))
        show_passing_note(state, load_program_text(note));
}

} // namespace

PasteOptions paste_options(const MainWindowState& state)
{
    PasteOptions options;
    options.colors_and_sizes = state.review.settings.paste_colors_and_sizes;
    // Only what the chosen forum takes as markup is written.
    const ForumProfile& forum = chosen_forum(state);
    options.forum = &forum;
    for (std::size_t tag = 0; tag < FORUM_TAG_COUNT; ++tag)
        options.tags.set(tag, knows_tag(forum, static_cast<ForumTagId>(tag)));
    return options;
}

void paste_as_markup(MainWindowState& state, const ProgressReport& progress)
{
    paste(state, PasteAs::markup, progress);
}

void paste_as_text(MainWindowState& state, const ProgressReport& progress)
{
    paste(state, PasteAs::text, progress);
}

void toggle_paste_colors_and_sizes(MainWindowState& state)
{
    bool& carried = state.review.settings.paste_colors_and_sizes;
    carried = !carried;
    save_paste_colors_and_sizes(carried);
    show_paste_choice(state);
}

void show_paste_choice(const MainWindowState& state)
{
    CheckMenuItem(GetMenu(state.parts.main_window), IDM_PASTE_COLORS_AND_SIZES,
                  MF_BYCOMMAND | (state.review.settings.paste_colors_and_sizes ? MF_CHECKED : MF_UNCHECKED));
}
