#include "text/paste/markup_writer.h"

#include <algorithm>
#include <cmath>

#include "text/forum/color_tag_text.h"
#include "text/forum/smileys.h"
#include "text/forum/tag_match.h"

namespace {

// The sizes the size commands write, in pixels, and the band around the
// normal size (16 px) that stays without a tag.
constexpr int SMALL_SIZE = 14;
constexpr int LARGE_SIZE = 22;
constexpr int LARGER_SIZE = 30;
constexpr int NORMAL_LOW = 14;
constexpr int NORMAL_HIGH = 18;
constexpr int LARGER_FROM = 26;
constexpr double NORMAL_PIXELS = 16.0;

constexpr std::string_view NO_BREAK_SPACE = "\xC2\xA0";

bool is_collapsible_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The size a command would write for text of this many pixels; 0 when it
// is near enough to the normal size to need no tag.
int size_command_pixels(int pixels)
{
    if (pixels <= 0 || (pixels >= NORMAL_LOW && pixels <= NORMAL_HIGH))
        return 0;
    if (pixels < NORMAL_LOW)
        return SMALL_SIZE;
    return pixels < LARGER_FROM ? LARGE_SIZE : LARGER_SIZE;
}

// Dark greys and black are the page's text colour, not a colour the writer
// chose: carrying them would wrap every paragraph in a [color].
bool is_text_colour(std::uint32_t rgb)
{
    const int red = static_cast<int>((rgb >> 16) & 0xFF);
    const int green = static_cast<int>((rgb >> 8) & 0xFF);
    const int blue = static_cast<int>(rgb & 0xFF);
    const int high = std::max({red, green, blue});
    const int low = std::min({red, green, blue});
    return high <= 0x60 && high - low <= 0x20;
}

std::string hex_of(std::uint32_t rgb)
{
    // color_hex_digits() reads a COLORREF: red in the low byte.
    const std::uint32_t colorref = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return color_hex_digits(colorref);
}

std::string open_text(ForumTagId tag, std::string_view value)
{
    std::string text = "[" + std::string(forum_tag(tag).name);
    if (!value.empty())
        text.append("=").append(value);
    return text + "]";
}

std::string close_text(ForumTagId tag)
{
    return "[/" + std::string(forum_tag(tag).name) + "]";
}

} // namespace

MarkupWriter::MarkupWriter(const PasteOptions& options) : options_(options) {}

std::size_t MarkupWriter::open_depth() const
{
    return inline_.size() + block_tags_;
}

bool MarkupWriter::can_open(ForumTagId tag) const
{
    return options_.allows(tag) && open_depth() < options_.forum->markup_depth;
}

void MarkupWriter::write_tag_text(std::string_view text)
{
    out_.append(text);
    last_tag_end_ = out_.size();
}

std::size_t MarkupWriter::trailing_line_breaks() const
{
    std::size_t count = 0;
    while (out_.size() - count > last_tag_end_ && out_[out_.size() - count - 1] == '\n')
        ++count;
    return count;
}

void MarkupWriter::trim_trailing_spaces()
{
    while (out_.size() > last_tag_end_ && out_.back() == ' ')
        out_.pop_back();
}

// The tags a run in this style needs, outermost first, as the options let
// them be written.
std::vector<MarkupWriter::OpenTag> MarkupWriter::tags_for(const InlineStyle& style) const
{
    std::vector<OpenTag> tags;
    const auto add = [&](ForumTagId tag, std::string value, std::uint32_t rgb = 0, std::size_t instance = 0) {
        if (options_.allows(tag))
            tags.push_back({tag, std::move(value), instance, rgb, 0, 0});
    };
    if (!style.link.empty())
        add(style.email ? ForumTagId::email : ForumTagId::url, style.link, 0, style.link_number);
    if (options_.colors_and_sizes) {
        if (const int pixels = size_command_pixels(style.size_px))
            add(ForumTagId::size, size_value_for(*options_.forum, pixels));
        // A link has the look of a link; its page's colour is left out.
        if (style.color != NO_COLOR && style.link.empty() && !is_text_colour(style.color))
            add(ForumTagId::color, "#" + hex_of(style.color), style.color);
    }
    if (style.bold)
        add(ForumTagId::b, "");
    if (style.italic)
        add(ForumTagId::i, "");
    if (style.underline)
        add(ForumTagId::u, "");
    if (style.strike)
        add(ForumTagId::s, "");
    return tags;
}

void MarkupWriter::open_inline(OpenTag tag)
{
    tag.begin = out_.size();
    // A link's address goes in the open tag; the text decides at the close
    // whether it stays there.
    write_tag_text(open_text(tag.tag, tag.value));
    tag.content_begin = out_.size();
    inline_.push_back(std::move(tag));
}

void MarkupWriter::close_inline(OpenTag& tag)
{
    if (out_.size() == tag.content_begin) { // nothing inside: no tag at all
        out_.resize(tag.begin);
        last_tag_end_ = std::min(last_tag_end_, out_.size());
        return;
    }
    const bool link = tag.tag == ForumTagId::url || tag.tag == ForumTagId::email;
    if (link && std::string_view(out_).substr(tag.content_begin) == tag.value) {
        // [url]address[/url] when the text is the address.
        const std::string plain_open = open_text(tag.tag, "");
        out_.replace(tag.begin, tag.content_begin - tag.begin, plain_open);
    }
    write_tag_text(close_text(tag.tag));
    written_.push_back({tag.tag, tag.begin, out_.size(), tag.rgb});
}

// Closes the inline tags above the first `keep`. A close goes before the
// line breaks that end the text, so that it stays on the line it closes.
void MarkupWriter::close_inline_down_to(std::size_t keep)
{
    if (inline_.size() <= keep)
        return;
    const std::size_t breaks = trailing_line_breaks();
    out_.resize(out_.size() - breaks);
    while (inline_.size() > keep) {
        close_inline(inline_.back());
        inline_.pop_back();
    }
    out_.append(breaks, '\n');
    applied_valid_ = false;
}

void MarkupWriter::apply_style(const InlineStyle& style)
{
    if (applied_valid_ && style == applied_)
        return;
    std::vector<OpenTag> wanted = tags_for(style);
    std::size_t keep = 0;
    while (keep < inline_.size() && keep < wanted.size() && inline_[keep].tag == wanted[keep].tag &&
           inline_[keep].value == wanted[keep].value && inline_[keep].instance == wanted[keep].instance)
        ++keep;
    close_inline_down_to(keep);
    // A space between two styles stands outside both.
    write_pending_space();
    for (std::size_t i = keep; i < wanted.size() && open_depth() < options_.forum->markup_depth; ++i)
        open_inline(std::move(wanted[i]));
    applied_ = style;
    applied_valid_ = true;
}

void MarkupWriter::start_content(const InlineStyle& style)
{
    if (need_line_) {
        close_inline_down_to(0);
        if (!at_line_start_)
            end_line();
        need_line_ = false;
        pending_space_ = false;
    }
    apply_style(style);
    write_pending_space();
}

// One space, where a browser shows one: not at the start of a line, and not
// after a space that stands already (a smiley's).
void MarkupWriter::write_pending_space()
{
    if (pending_space_ && !at_line_start_ && !out_.empty() && out_.back() != ' ')
        out_.push_back(' ');
    pending_space_ = false;
}

void MarkupWriter::write_content(std::string_view utf8, const InlineStyle& style)
{
    if (utf8.empty())
        return;
    start_content(style);
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t space = utf8.find(NO_BREAK_SPACE, at);
        out_.append(utf8.substr(at, space - at));
        if (space == std::string_view::npos)
            break;
        // A row of them is a gap, not a measure: one space keeps it.
        if (out_.empty() || out_.back() != ' ')
            out_.push_back(' ');
        at = space + NO_BREAK_SPACE.size();
    }
    at_line_start_ = false;
}

void MarkupWriter::flowing_text(std::string_view utf8, const InlineStyle& style)
{
    std::size_t at = 0;
    while (at < utf8.size()) {
        if (is_collapsible_space(utf8[at])) {
            pending_space_ = true;
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < utf8.size() && !is_collapsible_space(utf8[end]))
            ++end;
        write_content(utf8.substr(at, end - at), style);
        at = end;
    }
}

void MarkupWriter::preserved_text(std::string_view utf8, const InlineStyle& style)
{
    std::size_t at = 0;
    while (at <= utf8.size()) {
        const std::size_t end = std::min(utf8.find('\n', at), utf8.size());
        if (end > at) {
            pending_space_ = false;
            write_content(utf8.substr(at, end - at), style);
        }
        if (end == utf8.size())
            break;
        line_break();
        at = end + 1;
    }
}

void MarkupWriter::end_line()
{
    trim_trailing_spaces();
    out_.push_back('\n');
    at_line_start_ = true;
    pending_space_ = false;
}

void MarkupWriter::line_break()
{
    if (in_cell()) {
        pending_space_ = true;
        return;
    }
    if (need_line_) {
        close_inline_down_to(0);
        if (!at_line_start_)
            end_line();
        need_line_ = false;
    }
    end_line();
}

// A block starts or ends: the inline tags close, and what follows starts a
// line of its own (or, inside a table cell, is only a space away).
void MarkupWriter::block_boundary()
{
    close_inline_down_to(0);
    if (in_cell()) {
        pending_space_ = true;
        return;
    }
    pending_space_ = false;
    need_line_ = true;
}

// Puts the next tag at the start of a line.
void MarkupWriter::start_block_line()
{
    close_inline_down_to(0);
    if (!at_line_start_)
        end_line();
    need_line_ = false;
    pending_space_ = false;
}

void MarkupWriter::open_block(Block block)
{
    OpenBlock open{block, false, out_.size(), out_.size(), 1, false};
    const auto open_tag = [&](ForumTagId tag, std::string_view value) {
        start_block_line();
        open.begin = out_.size();
        write_tag_text(open_text(tag, value));
        open.content_begin = out_.size();
        open.tag_written = true;
        ++block_tags_;
    };
    const bool tags_allowed = !in_cell();
    switch (block) {
    case Block::quote:
    case Block::center: {
        const ForumTagId tag = block == Block::quote ? ForumTagId::quote : ForumTagId::center;
        if (tags_allowed && can_open(tag)) {
            open_tag(tag, "");
            at_line_start_ = true; // the text follows the tag on its line
        } else {
            block_boundary();
        }
        break;
    }
    case Block::list:
    case Block::ordered_list:
        // A list is written only with its items' [*].
        if (tags_allowed && can_open(ForumTagId::list) && options_.allows(ForumTagId::item)) {
            // A forum that numbers no list gets bullets rather than a value it shows as typed.
            const bool numbered =
                block == Block::ordered_list && takes_value(*options_.forum, ForumTagId::list, true, "1");
            open_tag(ForumTagId::list, numbered ? "1" : "");
            at_line_start_ = false;
            need_line_ = true; // each item on a line of its own
        } else {
            block_boundary();
        }
        break;
    case Block::item: {
        OpenBlock* list = nullptr;
        for (auto it = blocks_.rbegin(); it != blocks_.rend(); ++it)
            if (it->block == Block::list || it->block == Block::ordered_list) {
                list = &*it;
                break;
            }
        if (!list || in_cell()) {
            block_boundary();
            break;
        }
        start_block_line();
        if (list->tag_written) {
            const std::size_t begin = out_.size();
            write_tag_text("[*]");
            written_.push_back({ForumTagId::item, begin, out_.size(), 0});
        } else {
            out_.append(list->block == Block::list ? "\xE2\x80\xA2 " : std::to_string(list->next_number) + ". ");
            ++list->next_number;
        }
        at_line_start_ = true;
        break;
    }
    case Block::cell: {
        OpenBlock* row = blocks_.empty() ? nullptr : &blocks_.back();
        if (row && row->had_cell && cells_ == 0) {
            close_inline_down_to(0);
            if (need_line_ && !at_line_start_)
                end_line();
            need_line_ = false;
            out_.append(at_line_start_ ? "|" : " |");
            at_line_start_ = false;
            pending_space_ = true; // written before the cell's text, if any
        } else if (cells_ == 0) {
            block_boundary();
        }
        if (row)
            row->had_cell = true;
        ++cells_;
        break;
    }
    case Block::paragraph:
        block_boundary();
        break;
    }
    blocks_.push_back(open);
}

void MarkupWriter::close_block(Block block)
{
    // The innermost open block of that kind, and any left open inside it.
    auto found = std::find_if(blocks_.rbegin(), blocks_.rend(), [&](const OpenBlock& b) { return b.block == block; });
    if (found == blocks_.rend())
        return;
    const std::size_t keep = static_cast<std::size_t>(blocks_.rend() - found) - 1;
    while (blocks_.size() > keep) {
        const OpenBlock open = blocks_.back();
        blocks_.pop_back();
        if (open.block == Block::cell) {
            --cells_;
            if (cells_ == 0)
                close_inline_down_to(0);
            else
                pending_space_ = true;
            continue;
        }
        if (!open.tag_written) {
            block_boundary();
            continue;
        }
        close_inline_down_to(0);
        --block_tags_;
        const std::size_t breaks = trailing_line_breaks();
        out_.resize(out_.size() - breaks);
        trim_trailing_spaces();
        const ForumTagId tag = open.block == Block::quote    ? ForumTagId::quote
                               : open.block == Block::center ? ForumTagId::center
                                                             : ForumTagId::list;
        if (out_.size() == open.content_begin) { // nothing inside: no tag at all
            out_.resize(open.begin);
            last_tag_end_ = std::min(last_tag_end_, out_.size());
            std::erase_if(written_, [&](const ByteTag& t) { return t.begin >= open.begin; });
            at_line_start_ = out_.empty() || out_.back() == '\n';
            need_line_ = true;
            continue;
        }
        if (tag == ForumTagId::list)
            end_line();
        write_tag_text(close_text(tag));
        written_.push_back({tag, open.begin, out_.size(), 0});
        at_line_start_ = false;
        need_line_ = true;
        pending_space_ = false;
    }
}

void MarkupWriter::rule()
{
    if (in_cell() || !options_.allows(ForumTagId::hr)) {
        block_boundary();
        return;
    }
    start_block_line();
    const std::size_t begin = out_.size();
    write_tag_text("[hr]");
    written_.push_back({ForumTagId::hr, begin, out_.size(), 0});
    at_line_start_ = false;
    need_line_ = true;
}

void MarkupWriter::code_block(std::string_view utf8)
{
    while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r'))
        utf8.remove_suffix(1);
    if (utf8.empty())
        return;
    if (in_cell() || !can_open(ForumTagId::code)) {
        block_boundary();
        preserved_text(utf8, {});
        block_boundary();
        return;
    }
    start_block_line();
    const std::size_t begin = out_.size();
    write_tag_text("[code]\n");
    out_.append(utf8);
    write_tag_text("\n[/code]");
    written_.push_back({ForumTagId::code, begin, out_.size(), 0});
    at_line_start_ = false;
    need_line_ = true;
}

void MarkupWriter::picture(std::string_view address, const InlineStyle& style)
{
    if (!options_.allows(ForumTagId::img) || address.empty())
        return;
    start_content(style);
    if (open_depth() >= options_.forum->markup_depth)
        return;
    const std::size_t smiley = smiley_at_address(address);
    const std::string markup =
        smiley < SMILEY_COUNT ? smiley_markup(smiley) : "[img]" + std::string(address) + "[/img]";
    const std::size_t begin = out_.size();
    const std::size_t tag_end = begin + markup.find("[/img]") + 6;
    out_.append(markup);
    last_tag_end_ = tag_end;
    written_.push_back({ForumTagId::img, begin, tag_end, 0});
    at_line_start_ = false;
}

PastedMarkup MarkupWriter::finish()
{
    while (!blocks_.empty())
        close_block(blocks_.back().block);
    close_inline_down_to(0);
    out_.resize(out_.size() - trailing_line_breaks());
    trim_trailing_spaces();

    // Byte offsets become the control's positions, UTF-16 units, in one
    // sweep over the text.
    std::vector<std::size_t> offsets;
    offsets.reserve(written_.size() * 2);
    for (const ByteTag& tag : written_) {
        offsets.push_back(tag.begin);
        offsets.push_back(tag.end);
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    std::vector<std::size_t> units(offsets.size());
    std::size_t unit = 0;
    std::size_t byte = 0;
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        for (; byte < offsets[i]; ++byte) {
            const auto c = static_cast<unsigned char>(out_[byte]);
            if ((c & 0xC0) != 0x80)
                unit += c >= 0xF0 ? 2 : 1;
        }
        units[i] = unit;
    }
    const auto unit_of = [&](std::size_t offset) {
        return units[static_cast<std::size_t>(std::lower_bound(offsets.begin(), offsets.end(), offset) -
                                              offsets.begin())];
    };
    std::sort(written_.begin(), written_.end(), [](const ByteTag& a, const ByteTag& b) {
        return a.begin != b.begin ? a.begin < b.begin : a.end > b.end;
    });
    PastedMarkup markup;
    markup.tags.reserve(written_.size());
    for (const ByteTag& tag : written_)
        markup.tags.push_back({tag.tag, unit_of(tag.begin), unit_of(tag.end), tag.rgb});
    markup.text = std::move(out_);
    return markup;
}
