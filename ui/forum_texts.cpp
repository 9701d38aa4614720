#include "ui/forum_texts.h"

#include "res/resource_ids.h"
#include "text/forum/post_counts.h"
#include "ui/post_status.h"
#include "ui/status_bar.h"
#include "win/messages.h"

namespace {

constexpr UINT FULL_NAMES[] = {IDS_PROFILE_EDITOR, IDS_PROFILE_PHPBB, IDS_PROFILE_SMF, IDS_PROFILE_MYBB};
constexpr UINT SHORT_NAMES[] = {0, IDS_PROFILE_NAME_PHPBB, IDS_PROFILE_NAME_SMF, IDS_PROFILE_NAME_MYBB};
static_assert(std::size(FULL_NAMES) == FORUM_PROFILE_COUNT && std::size(SHORT_NAMES) == FORUM_PROFILE_COUNT);

size_t index_of(const ForumProfile& profile)
{
    return static_cast<size_t>(profile.id);
}

bool in_bytes(const ForumProfile& profile)
{
    return profile.counting.unit == LengthUnit::bytes;
}

UINT size_form_text(SizeForm form)
{
    switch (form) {
    case SizeForm::percent:
        return IDS_TAG_SIZE_PERCENT;
    case SizeForm::css:
        return IDS_TAG_SIZE_CSS;
    case SizeForm::mybb:
    case SizeForm::pixels:
        break;
    }
    return IDS_TAG_SIZE_MYBB;
}

UINT problem_text(const TagProblem& problem, const ForumProfile& profile)
{
    switch (problem.kind) {
    case TagProblemKind::unknown_tag:
        return IDS_TAG_UNKNOWN;
    case TagProblemKind::refused_value:
        return problem.tag == ForumTagId::size ? size_form_text(profile.size_form) : IDS_TAG_LIST_STYLE;
    case TagProblemKind::quote_removed:
        return IDS_TAG_QUOTE_REMOVED;
    case TagProblemKind::too_many_pictures:
        return IDS_TAG_TOO_MANY_PICTURES;
    default:
        break;
    }
    return 0;
}

} // namespace

std::string length_status(const ForumProfile& profile, size_t length, DWORD limit)
{
    if (profile.id == ForumProfileId::editor)
        return characters_status(length, limit);
    const std::string count = locale_number(length);
    const std::string limit_text = limit ? locale_number(limit) : std::string();
    const std::string name = load_program_text(SHORT_NAMES[index_of(profile)]);
    if (limit == 0)
        return format_program_text(in_bytes(profile) ? IDS_LENGTH_BYTES : IDS_LENGTH_CHARACTERS, {name, count});
    return format_program_text(in_bytes(profile) ? IDS_LENGTH_BYTES_OF : IDS_LENGTH_CHARACTERS_OF,
                   {name, count, limit_text});
}

std::string forum_name(ForumProfileId forum)
{
    return load_program_text(FULL_NAMES[static_cast<size_t>(forum)]);
}

std::string board_title(const Board& board)
{
    return board.name.empty() ? forum_name(board.forum) : board.name;
}

std::string length_tip_line(const ForumProfile& profile, size_t length, DWORD limit, std::string_view board_name)
{
    const std::string name = board_name.empty() ? forum_name(profile.id) : std::string(board_name);
    if (limit == 0)
        return format_program_text(in_bytes(profile) ? IDS_TIP_BYTES : IDS_TIP_CHARACTERS,
                       {name, locale_number(length)});
    return format_program_text(in_bytes(profile) ? IDS_TIP_BYTES_OF : IDS_TIP_CHARACTERS_OF,
                   {name, locale_number(length), locale_number(limit)});
}

std::string tag_check_status(const TagProblem& problem, const ForumProfile& profile, std::string_view post)
{
    const UINT text = problem_text(problem, profile);
    if (text == 0)
        return tag_problem_status(problem);
    const std::string_view as_typed = post.substr(problem.offset, problem.length);
    const std::string limit = problem.kind == TagProblemKind::quote_removed ? std::to_string(profile.quote_depth)
                              : problem.kind == TagProblemKind::too_many_pictures
                                  ? std::to_string(profile.picture_limit)
                                  : std::to_string(profile.largest_size);
    return format_program_text(text, {load_program_text(SHORT_NAMES[index_of(profile)]), as_typed,
                                             locale_number(problem.line), limit, locale_number(problem.pictures)});
}
