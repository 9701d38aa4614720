#include "text/preview/preview_rtf.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "text/unicode/code_points.h"
#include "text/preview/preview_labels.h"
#include "text/preview/preview_rtf_writer.h"
#include "text/forum/tag_walk.h"

namespace {

constexpr uint32_t LINK_RGB = 0x0000FF;
constexpr uint32_t GREY_RGB = 0x808080;
constexpr int TWIPS_PER_INDENT = 360; // a quarter of an inch
constexpr int MAX_INDENTS = 8;
constexpr int RULE_LENGTH = 30;
constexpr char32_t RULE_CHARACTER = 0x2500;

struct Block {
    ForumTagId id;
    std::string_view list_style; // of a list: "", "1", "a" or "A"
    size_t items = 0;            // of a list: items so far
};

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

// Reads the post's markup into the formats it asks for, and writes the
// text in them.
class PreviewMarkup : public TagVisitor {
public:
    PreviewMarkup(const PreviewOptions& options, const ForumProfile& profile, size_t post_size,
                  bool stand_alone_paragraphs)
        : options_(options), profile_(profile), rtf_(post_size, stand_alone_paragraphs)
    {
        link_color_ = rtf_.color_index(LINK_RGB);
        grey_ = rtf_.color_index(GREY_RGB);
    }

    void text(std::string_view text, size_t, const TagToken* next) override
    {
        write_text(text, next && next->closing && is_block_tag(next->id));
    }
    void open(const TagToken& tag) override { markup_tag(tag); }
    void close(const TagToken& tag) override { markup_tag(tag); }
    void literal(const TagToken& open, std::string_view text, size_t) override
    {
        if (open.id == ForumTagId::img)
            picture(text);
        else
            write_text(text, true); // the close of [code], a block, follows
    }

    const PreviewRtfWriter& rtf() const { return rtf_; }

private:
    // Text of the post; a final line break is dropped when a block's close
    // follows it.
    void write_text(std::string_view text, bool block_close_follows)
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

    // A picture is laid out from its address alone.
    void markup_tag(const TagToken& tag)
    {
        if (tag.id == ForumTagId::img)
            return;
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
        rtf_.write(item_label(list.list_style, list.items), current_format());
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

} // namespace

std::string render_preview_rtf(std::string_view post, const PreviewOptions& options, const ForumProfile& profile)
{
    PreviewMarkup markup(options, profile, post.size(), false);
    walk_tags(post, match_tags(post, profile), markup);
    return markup.rtf().document();
}

PreviewParagraphs render_preview_paragraphs(std::string_view post, const PreviewOptions& options,
                                            const ForumProfile& profile)
{
    return render_preview_paragraphs(post, match_tags(post, profile), options, profile);
}

PreviewParagraphs render_preview_paragraphs(std::string_view post, const std::vector<MatchedTag>& tags,
                                            const PreviewOptions& options, const ForumProfile& profile)
{
    PreviewMarkup markup(options, profile, post.size(), true);
    walk_tags(post, tags, markup);
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
