#include "text/preview/preview_rtf.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "text/unicode/code_points.h"
#include "text/preview/preview_rtf_writer.h"
#include "text/forum/tag_match.h"

namespace {

constexpr uint32_t LINK_RGB = 0x0000FF;
constexpr uint32_t GREY_RGB = 0x808080;
constexpr int TWIPS_PER_INDENT = 360; // a quarter of an inch
constexpr int MAX_INDENTS = 8;
constexpr int RULE_LENGTH = 30;
constexpr char32_t RULE_CHARACTER = 0x2500;
constexpr char32_t BULLET = 0x2022;

struct Block {
    ForumTagId id;
    std::string_view list_style; // of a list: "", "1", "a" or "A"
    size_t items = 0;            // of a list: items so far
};

// "xiv", in the letters of `first` ('i' or 'I'); beyond 3999 the number.
std::u32string roman_numeral(size_t number, char32_t first)
{
    constexpr struct {
        size_t value;
        std::string_view letters;
    } NUMERALS[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                    {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},   {4, "iv"},  {1, "i"}};
    std::u32string label;
    if (number >= 4000) {
        for (char digit : std::to_string(number))
            label += static_cast<char32_t>(digit);
        return label;
    }
    for (const auto& numeral : NUMERALS) {
        for (; number >= numeral.value; number -= numeral.value)
            for (char letter : numeral.letters)
                label += static_cast<char32_t>(first == U'I' ? letter - 'a' + 'A' : letter);
    }
    return label;
}

// The label of a list's item: a bullet, "3.", "c." or "iii.".
std::u32string item_label(const Block& list)
{
    if (list.list_style.empty())
        return {BULLET, ' '};
    std::u32string label;
    if (list.list_style == "1") {
        for (char digit : std::to_string(list.items))
            label += static_cast<char32_t>(digit);
    } else if (list.list_style == "i" || list.list_style == "I") {
        label = roman_numeral(list.items, static_cast<char32_t>(list.list_style[0]));
    } else {
        // a, b, ... z, aa, ab, ...
        const char32_t first = list.list_style == "A" ? U'A' : U'a';
        for (size_t n = list.items; n > 0; n = (n - 1) / 26)
            label.insert(label.begin(), static_cast<char32_t>(first + (n - 1) % 26));
    }
    return label + U". ";
}

// A label with its "%1" standing for the argument.
std::string with_argument(std::string_view label, std::string_view argument)
{
    std::string text(label);
    if (const size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

// Whether a picture group from the caller is one whole group: it starts and
// ends the group, and no brace in between closes it early.
bool is_one_group(std::string_view rtf)
{
    if (rtf.size() < 2 || rtf.front() != '{' || rtf.back() != '}')
        return false;
    size_t depth = 0;
    for (size_t at = 0; at < rtf.size(); ++at) {
        if (rtf[at] == '\\') {
            ++at; // an escaped brace or backslash is text
        } else if (rtf[at] == '{') {
            ++depth;
        } else if (rtf[at] == '}') {
            if (--depth == 0)
                return at + 1 == rtf.size();
        }
    }
    return false;
}

std::string_view trim_white_space(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

// A quote's author may be written in quotation marks.
std::string_view quote_author(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return trim_white_space(value);
}

// Reads the post's markup into the formats it asks for, and writes the
// text in them.
class PreviewMarkup {
public:
    PreviewMarkup(const PreviewOptions& options, const ForumProfile& profile, size_t post_size,
                  bool stand_alone_paragraphs)
        : options_(options), profile_(profile), rtf_(post_size, stand_alone_paragraphs)
    {
        link_color_ = rtf_.color_index(LINK_RGB);
        grey_ = rtf_.color_index(GREY_RGB);
    }

    // Text of the post; a final line break is dropped when a block's close
    // follows it.
    void text(std::string_view text, bool block_close_follows)
    {
        for (size_t at = 0; at < text.size();) {
            const size_t line_break = line_break_length(text, at);
            if (line_break != 0) {
                at += line_break;
                const bool swallowed = swallow_break_ || (block_close_follows && at == text.size());
                swallow_break_ = false;
                if (!swallowed)
                    rtf_.end_paragraph();
                continue;
            }
            swallow_break_ = false;
            // One run of text up to the next line break.
            const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
            rtf_.write(text.substr(at, end - at), current_format());
            at = end;
        }
    }

    void tag(const TagToken& tag)
    {
        swallow_break_ = false;
        if (is_block_tag(tag.id)) {
            block_tag(tag);
        } else if (tag.closing) {
            close_inline(tag.id);
        } else {
            open_inline(tag);
        }
    }

    void picture(std::string_view address)
    {
        swallow_break_ = false;
        address = trim_white_space(address);
        const auto known = options_.pictures.find(address);
        if (known != options_.pictures.end() && is_one_group(known->second))
            rtf_.write_group(known->second, current_format());
        else
            rtf_.write_framed(with_argument(options_.labels.picture, address), grey_, current_format());
    }

    const PreviewRtfWriter& rtf() const { return rtf_; }

private:
    void block_tag(const TagToken& tag)
    {
        if (!rtf_.at_paragraph_start())
            rtf_.end_paragraph();
        if (tag.id == ForumTagId::hr) {
            rule();
        } else if (tag.id == ForumTagId::item) {
            list_item();
            return; // the item's text follows on its line
        } else if (tag.id == ForumTagId::li) {
            // SMF's closed item: its label, and a block that indents nothing.
            if (tag.closing) {
                blocks_.pop_back();
            } else {
                list_item();
                blocks_.push_back({tag.id, {}});
                return;
            }
        } else if (tag.closing) {
            close_block(tag);
        } else {
            open_block(tag);
        }
        swallow_break_ = true;
    }

    void open_block(const TagToken& tag)
    {
        blocks_.push_back({tag.id, tag.id == ForumTagId::list ? tag.value : std::string_view{}});
        ++(tag.id == ForumTagId::center ? centered_blocks_ : indented_blocks_);
        if (is_box(tag))
            return; // what it holds, as typed, in an indented block
        if (tag.id == ForumTagId::quote) {
            const std::string_view author = quote_author(tag.value);
            const PreviewLabels& labels = options_.labels;
            header(author.empty() ? labels.quote : with_argument(labels.author_quote, author));
        } else if (tag.id == ForumTagId::code) {
            header(options_.labels.code);
            ++monospace_;
        }
    }

    // A board's extra tag shown as its plain text in a box.
    bool is_box(const TagToken& tag) const
    {
        return tag.is_extra() && profile_.extra_tags[tag.extra].look == ExtraLook::box;
    }

    void close_block(const TagToken& tag)
    {
        if (tag.id == ForumTagId::code && !is_box(tag))
            --monospace_;
        --(blocks_.back().id == ForumTagId::center ? centered_blocks_ : indented_blocks_);
        blocks_.pop_back();
    }

    void rule()
    {
        PreviewFormat format = current_format();
        format.chars.color = grey_;
        rtf_.write(std::u32string(RULE_LENGTH, RULE_CHARACTER), format);
        rtf_.end_paragraph();
    }

    void list_item()
    {
        Block& list = blocks_.back(); // markup puts every [*] straight in a list
        ++list.items;
        rtf_.write(item_label(list), current_format());
    }

    void header(std::string_view label)
    {
        PreviewFormat format = current_format();
        format.chars.bold = true;
        rtf_.write(label, format);
        rtf_.end_paragraph();
    }

    void open_inline(const TagToken& tag)
    {
        switch (forum_tag(tag.id).preview) {
        case PreviewAction::bold:
            ++bold_;
            break;
        case PreviewAction::italic:
            ++italic_;
            break;
        case PreviewAction::underline:
            ++underline_;
            break;
        case PreviewAction::strikeout:
            ++strikeout_;
            break;
        case PreviewAction::link:
            ++underline_;
            color_stack_.push_back(link_color_);
            break;
        case PreviewAction::text_color:
            color_stack_.push_back(rtf_.color_index(color_value_rgb(tag.value).value_or(0)));
            break;
        case PreviewAction::text_size: {
            // Percentages and "em" are of the text around.
            const double around = size_pixels_.empty() ? PREVIEW_TEXT_PIXELS : size_pixels_.back();
            const double pixels = size_value_in_pixels(profile_, tag.value, around).value_or(around);
            size_pixels_.push_back(pixels);
            size_stack_.push_back(preview_half_points(static_cast<int>(std::lround(pixels))));
            break;
        }
        default:
            break;
        }
    }

    // Markup nests properly, so a close undoes the innermost open of its kind.
    void close_inline(ForumTagId id)
    {
        switch (forum_tag(id).preview) {
        case PreviewAction::bold:
            --bold_;
            break;
        case PreviewAction::italic:
            --italic_;
            break;
        case PreviewAction::underline:
            --underline_;
            break;
        case PreviewAction::strikeout:
            --strikeout_;
            break;
        case PreviewAction::link:
            --underline_;
            color_stack_.pop_back();
            break;
        case PreviewAction::text_color:
            color_stack_.pop_back();
            break;
        case PreviewAction::text_size:
            size_stack_.pop_back();
            size_pixels_.pop_back();
            break;
        default:
            break;
        }
    }

    PreviewFormat current_format() const
    {
        PreviewCharFormat chars;
        chars.bold = bold_ > 0;
        chars.italic = italic_ > 0;
        chars.underline = underline_ > 0;
        chars.strikeout = strikeout_ > 0;
        chars.color = color_stack_.empty() ? 0 : color_stack_.back();
        if (!size_stack_.empty())
            chars.size = size_stack_.back();
        chars.font = monospace_ > 0 ? 1 : 0;
        // Every open block but [center] indents.
        return {chars, {std::min(indented_blocks_, MAX_INDENTS) * TWIPS_PER_INDENT, centered_blocks_ > 0}};
    }

    const PreviewOptions& options_;
    const ForumProfile& profile_;
    PreviewRtfWriter rtf_;
    int link_color_ = 0;
    int grey_ = 0;

    int bold_ = 0;
    int italic_ = 0;
    int underline_ = 0;
    int strikeout_ = 0;
    int monospace_ = 0;
    std::vector<int> color_stack_;
    std::vector<int> size_stack_;
    std::vector<double> size_pixels_; // the same sizes, unrounded
    std::vector<Block> blocks_;
    int indented_blocks_ = 0;
    int centered_blocks_ = 0;
    bool swallow_break_ = false;
};

void write_preview(std::string_view post, const ForumProfile& profile, PreviewMarkup& markup)
{
    const std::vector<MatchedTag> tags = match_tags(post, profile);
    size_t text_start = 0;
    for (size_t i = 0; i < tags.size(); ++i) {
        const MatchedTag& tag = tags[i];
        if (!tag.markup)
            continue; // shown as typed, with the text around it
        const TagToken& token = tag.token;
        const bool block_close = token.closing && is_block_tag(token.id);
        markup.text(post.substr(text_start, token.offset - text_start), block_close);
        text_start = token.offset + token.length;
        if (tag.fault == TagFault::quote_removed) {
            // The forum removes it with all it holds.
            i = tag.partner;
            text_start = tags[i].token.offset + tags[i].token.length;
            continue;
        }
        if (token.id == ForumTagId::img && !token.closing) {
            const size_t address_end = tags[tag.partner].token.offset;
            markup.picture(post.substr(text_start, address_end - text_start));
            text_start = address_end;
        } else if (token.id != ForumTagId::img) {
            markup.tag(token);
        }
    }
    markup.text(post.substr(text_start), false);
}

} // namespace

std::string render_preview_rtf(std::string_view post, const PreviewOptions& options, const ForumProfile& profile)
{
    PreviewMarkup markup(options, profile, post.size(), false);
    write_preview(post, profile, markup);
    return markup.rtf().document();
}

PreviewParagraphs render_preview_paragraphs(std::string_view post, const PreviewOptions& options,
                                            const ForumProfile& profile)
{
    PreviewMarkup markup(options, profile, post.size(), true);
    write_preview(post, profile, markup);
    return {markup.rtf().head(), markup.rtf().paragraphs()};
}

std::string preview_paragraphs_document(const PreviewParagraphs& preview, size_t first, size_t last)
{
    last = std::min(last, preview.paragraphs.size());
    std::string document = preview.head;
    for (size_t i = first; i < last; ++i)
        document.append(preview.paragraphs[i]).append("\\par\n");
    return document + "}";
}
