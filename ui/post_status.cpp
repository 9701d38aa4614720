#include "ui/post_status.h"

#include "res/resource_ids.h"
#include "win/messages.h"

namespace {

// "[quote]" or "[/i]".
std::string tag_in_brackets(ForumTagId id, bool closing)
{
    return std::string(closing ? "[/" : "[").append(forum_tag(id).name).append("]");
}

std::string with_number(UINT text, std::string_view number)
{
    return format_program_text(text, {number});
}

} // namespace

std::string characters_status(std::size_t characters, DWORD limit)
{
    if (limit == 0)
        return with_number(IDS_STATUS_CHARACTERS, locale_number(characters));
    return format_program_text(IDS_STATUS_CHARACTERS_OF_LIMIT, {locale_number(characters), locale_number(limit)});
}

std::string without_tags_status(std::size_t characters)
{
    return with_number(IDS_STATUS_WITHOUT_TAGS, locale_number(characters));
}

std::string words_status(std::size_t words)
{
    return with_number(IDS_STATUS_WORDS, locale_number(words));
}

std::string misspellings_status(const std::optional<std::size_t>& count)
{
    return count ? with_number(IDS_STATUS_MISSPELLINGS, locale_number(*count)) : std::string();
}

std::string tag_problem_status(const TagProblem& problem)
{
    const std::string tag = tag_in_brackets(problem.tag, problem.kind == TagProblemKind::no_open);
    const std::string line = locale_number(problem.line);
    switch (problem.kind) {
    case TagProblemKind::none:
        break;
    // These name the forum: tag_check_status() words them.
    case TagProblemKind::unknown_tag:
    case TagProblemKind::refused_value:
    case TagProblemKind::quote_removed:
    case TagProblemKind::too_many_pictures:
    case TagProblemKind::refuses_post:
        break;
    case TagProblemKind::unclosed:
        return format_program_text(IDS_STATUS_TAG_UNCLOSED, {tag, line});
    case TagProblemKind::no_open:
        return format_program_text(IDS_STATUS_TAG_NO_OPEN, {tag, line});
    case TagProblemKind::crossed:
        return format_program_text(IDS_STATUS_TAG_CROSSED, {tag, tag_in_brackets(problem.other, false), line});
    case TagProblemKind::too_deep:
        return format_program_text(IDS_STATUS_TAG_TOO_DEEP, {tag, line});
    }
    return load_program_text(IDS_STATUS_TAGS_OK);
}

std::array<std::string, STATUS_PART_COUNT - 1> status_part_samples()
{
    return {format_program_text(IDS_LENGTH_CHARACTERS_OF, {"phpBB", "000 000", "000 000"}),
            with_number(IDS_STATUS_WITHOUT_TAGS, "000 000"), with_number(IDS_STATUS_WORDS, "00 000"),
            with_number(IDS_STATUS_MISSPELLINGS, "0 000")};
}
