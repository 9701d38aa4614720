#include "text/preview_rtf.h"

#include "text/code_points.h"
#include "text/tag_match.h"
#include "text/unicode_text.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <unordered_map>
#include <vector>

namespace {

constexpr uint32_t LINK_RGB = 0x0000FF;
constexpr uint32_t GREY_RGB = 0x808080;
constexpr int TWIPS_PER_INDENT = 360; // a quarter of an inch
constexpr int MAX_INDENTS = 8;
constexpr int RULE_LENGTH = 30;
constexpr char32_t RULE_CHARACTER = 0x2500;
constexpr char32_t BULLET = 0x2022;

// RTF sizes are in half points; a pixel is three quarters of a point.
// Halves round up, so the forum's 13 pixels are 10 points.
int half_points(int pixels)
{
    return (std::clamp(pixels, PREVIEW_SMALLEST_PIXELS, PREVIEW_LARGEST_PIXELS) * 3 + 1) / 2;
}

// Colour table entries in order of first use; 0 is the text's own colour.
class ColorTable {
public:
    int index_of(uint32_t rgb)
    {
        const auto [entry, added] = indexes_.try_emplace(rgb, static_cast<int>(colors_.size()) + 1);
        if (added)
            colors_.push_back(rgb);
        return entry->second;
    }

    std::string rtf() const
    {
        std::string table = "{\\colortbl;";
        for (uint32_t rgb : colors_)
            table += "\\red" + std::to_string(rgb >> 16) + "\\green" + std::to_string((rgb >> 8) & 0xFF) +
                     "\\blue" + std::to_string(rgb & 0xFF) + ";";
        return table + "}";
    }

private:
    std::vector<uint32_t> colors_;
    std::unordered_map<uint32_t, int> indexes_;
};

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int color = 0;
    int size = half_points(PREVIEW_TEXT_PIXELS);
    int font = 0; // 1 is the monospace font
};

struct ParagraphFormat {
    int left_indent = 0; // twips
    bool centered = false;
    bool operator==(const ParagraphFormat&) const = default;
};

struct Block {
    ForumTagId id;
    std::string_view list_style; // of a list: "", "1", "a" or "A"
    size_t items = 0;            // of a list: items so far
};

// The label of a list's item: a bullet, "3." or "c.".
std::u32string item_label(const Block& list)
{
    if (list.list_style.empty())
        return {BULLET, ' '};
    std::u32string label;
    if (list.list_style == "1") {
        for (char digit : std::to_string(list.items))
            label += static_cast<char32_t>(digit);
    } else {
        // a, b, ... z, aa, ab, ...
        const char32_t first = list.list_style == "A" ? U'A' : U'a';
        for (size_t n = list.items; n > 0; n = (n - 1) / 26)
            label.insert(label.begin(), static_cast<char32_t>(first + (n - 1) % 26));
    }
    return label + U". ";
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

// Writes the document body: text as it comes, with the formats that the
// open markup asks for. Formats are not nested in RTF groups but written as
// changes just before the text they apply to, so the output's depth stays
// fixed however deep the markup goes. Paragraphs that stand alone also
// restate the whole format in effect where each of them starts.
class PreviewWriter {
public:
    PreviewWriter(const PreviewOptions& options, size_t post_size, bool stand_alone_paragraphs)
        : options_(options), stand_alone_paragraphs_(stand_alone_paragraphs)
    {
        body_.reserve(post_size + post_size / 2 + 64);
        link_color_ = colors_.index_of(LINK_RGB);
        grey_ = colors_.index_of(GREY_RGB);
        start_paragraph();
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
                    end_paragraph();
                continue;
            }
            swallow_break_ = false;
            at = write_run(text, at);
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
        start_content();
        set_format(current_format());
        const auto known = options_.pictures.find(address);
        if (known != options_.pictures.end() && is_one_group(known->second)) {
            body_ += known->second;
            return;
        }
        // The group keeps the placeholder's own colour and frame to itself.
        body_ += "{\\cf" + std::to_string(grey_) + "\\chbrdr\\brdrs\\brdrw10 ";
        write_text("[obrázek: ");
        write_text(address);
        write_text("]");
        body_ += "}";
    }

    std::string head() const
    {
        return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
               "{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}" +
               colors_.rtf() + "\n\\pard\\f0\\fs" + std::to_string(half_points(PREVIEW_TEXT_PIXELS)) + "\n";
    }

    std::string document() const { return head() + body_ + "}"; }

    // The body cut where each paragraph starts, without the \par between.
    std::vector<std::string> paragraphs() const
    {
        std::vector<std::string> paragraphs;
        paragraphs.reserve(paragraph_starts_.size());
        for (size_t i = 0; i < paragraph_starts_.size(); ++i) {
            const size_t start = paragraph_starts_[i];
            const size_t end = i + 1 < paragraph_starts_.size()
                                   ? paragraph_starts_[i + 1] - PARAGRAPH_END.size()
                                   : body_.size();
            paragraphs.emplace_back(body_, start, end - start);
        }
        return paragraphs;
    }

private:
    void block_tag(const TagToken& tag)
    {
        if (!at_paragraph_start_)
            end_paragraph();
        if (tag.id == ForumTagId::hr) {
            rule();
        } else if (tag.id == ForumTagId::item) {
            list_item();
            return; // the item's text follows on its line
        } else if (tag.closing) {
            close_block(tag.id);
        } else {
            open_block(tag);
        }
        swallow_break_ = true;
    }

    void open_block(const TagToken& tag)
    {
        blocks_.push_back({tag.id, tag.id == ForumTagId::list ? tag.value : std::string_view{}});
        if (tag.id == ForumTagId::quote) {
            const std::string_view author = quote_author(tag.value);
            header(author.empty() ? "Citace:" : std::string(author) + " napsal(a):");
        } else if (tag.id == ForumTagId::code) {
            header("Kód:");
            ++monospace_;
        }
    }

    void close_block(ForumTagId id)
    {
        if (id == ForumTagId::code)
            --monospace_;
        blocks_.pop_back();
    }

    void rule()
    {
        CharFormat format = current_format();
        format.color = grey_;
        write_text(std::u32string(RULE_LENGTH, RULE_CHARACTER), format);
        end_paragraph();
    }

    void list_item()
    {
        Block& list = blocks_.back(); // markup puts every [*] straight in a list
        ++list.items;
        write_text(item_label(list), current_format());
    }

    void header(std::string_view label)
    {
        CharFormat format = current_format();
        format.bold = true;
        write_text(label, format);
        end_paragraph();
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
            color_stack_.push_back(colors_.index_of(color_value_rgb(tag.value).value_or(0)));
            break;
        case PreviewAction::text_size:
            size_stack_.push_back(half_points(size_value_pixels(tag.value).value_or(PREVIEW_TEXT_PIXELS)));
            break;
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
            break;
        default:
            break;
        }
    }

    CharFormat current_format() const
    {
        CharFormat format;
        format.bold = bold_ > 0;
        format.italic = italic_ > 0;
        format.underline = underline_ > 0;
        format.strikeout = strikeout_ > 0;
        format.color = color_stack_.empty() ? 0 : color_stack_.back();
        if (!size_stack_.empty())
            format.size = size_stack_.back();
        format.font = monospace_ > 0 ? 1 : 0;
        return format;
    }

    ParagraphFormat current_paragraph() const
    {
        int indents = 0;
        bool centered = false;
        for (const Block& block : blocks_) {
            centered = centered || block.id == ForumTagId::center;
            indents += block.id != ForumTagId::center;
        }
        return {std::min(indents, MAX_INDENTS) * TWIPS_PER_INDENT, centered};
    }

    // Paragraph formats are set where a paragraph starts and hold until \par.
    void start_content()
    {
        for (; ended_paragraphs_ > 0; --ended_paragraphs_) {
            body_ += PARAGRAPH_END;
            start_paragraph();
        }
        if (at_paragraph_start_) {
            const ParagraphFormat wanted = current_paragraph();
            if (!(wanted == paragraph_)) {
                write_paragraph_format(wanted);
                body_ += ' ';
                paragraph_ = wanted;
            }
            at_paragraph_start_ = false;
        }
    }

    void write_paragraph_format(const ParagraphFormat& format)
    {
        body_ += "\\pard";
        if (format.left_indent != 0)
            body_ += "\\li" + std::to_string(format.left_indent);
        if (format.centered)
            body_ += "\\qc";
    }

    // A paragraph that stands alone first says all that the ones before it
    // have set: the paragraph format and, starting from plain text, the
    // character format (an empty paragraph's height depends on it too).
    void start_paragraph()
    {
        if (!stand_alone_paragraphs_)
            return;
        paragraph_starts_.push_back(body_.size());
        write_paragraph_format(paragraph_);
        body_ += "\\plain\\f" + std::to_string(written_.font) + "\\fs" + std::to_string(written_.size);
        if (written_.color != 0)
            body_ += "\\cf" + std::to_string(written_.color);
        const std::pair<bool, std::string_view> effects[] = {{written_.bold, "\\b"},
                                                             {written_.italic, "\\i"},
                                                             {written_.underline, "\\ul"},
                                                             {written_.strikeout, "\\strike"}};
        for (const auto& [on, word] : effects)
            if (on)
                body_ += word;
        body_ += ' ';
    }

    // The \par is written when more follows, so that the document does not
    // end in an empty paragraph.
    void end_paragraph()
    {
        ++ended_paragraphs_;
        at_paragraph_start_ = true;
    }

    void set_format(const CharFormat& wanted)
    {
        const size_t before = body_.size();
        const auto toggle = [&](bool now, bool& written, const char* on, const char* off) {
            if (now != written)
                body_ += now ? on : off;
            written = now;
        };
        toggle(wanted.bold, written_.bold, "\\b", "\\b0");
        toggle(wanted.italic, written_.italic, "\\i", "\\i0");
        toggle(wanted.underline, written_.underline, "\\ul", "\\ulnone");
        toggle(wanted.strikeout, written_.strikeout, "\\strike", "\\strike0");
        const auto number = [&](int now, int& written, const char* word) {
            if (now != written)
                body_ += word + std::to_string(now);
            written = now;
        };
        number(wanted.color, written_.color, "\\cf");
        number(wanted.size, written_.size, "\\fs");
        number(wanted.font, written_.font, "\\f");
        if (body_.size() != before)
            body_ += ' ';
    }

    // One run of text up to the next line break; returns where it stopped.
    size_t write_run(std::string_view text, size_t at)
    {
        start_content();
        set_format(current_format());
        const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        write_text(text.substr(at, end - at));
        return end;
    }

    void write_text(std::string_view text, const CharFormat& format)
    {
        start_content();
        set_format(format);
        write_text(text);
    }

    void write_text(const std::u32string& text, const CharFormat& format)
    {
        start_content();
        set_format(format);
        for (char32_t c : text)
            write_character(c);
    }

    // Escapes text on the line; the format is set already.
    void write_text(std::string_view text)
    {
        for (size_t at = 0; at < text.size();) {
            const char c = text[at];
            if (c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}') {
                // Plain ASCII goes over in one piece.
                size_t end = at + 1;
                while (end < text.size() && text[end] >= 0x20 && text[end] < 0x7F && text[end] != '\\' &&
                       text[end] != '{' && text[end] != '}')
                    ++end;
                body_.append(text, at, end - at);
                at = end;
                continue;
            }
            const CodePoint code_point = decode_code_point(text, at);
            write_character(code_point.value);
            at += code_point.length;
        }
    }

    void write_character(char32_t c)
    {
        if (c == '\\' || c == '{' || c == '}') {
            body_ += '\\';
            body_ += static_cast<char>(c);
        } else if (c == '\t') {
            body_ += "\\tab ";
        } else if (c < 0x20 || c == 0x7F) {
            // Other control characters show as nothing in a browser either.
        } else if (c < 0x80) {
            body_ += static_cast<char>(c);
        } else if (c < 0x10000) {
            write_utf16_unit(c);
        } else {
            write_utf16_unit(high_surrogate_of(c));
            write_utf16_unit(low_surrogate_of(c));
        }
    }

    // RTF takes a signed 16-bit number, and "?" for readers without Unicode.
    void write_utf16_unit(char32_t unit)
    {
        char escape[10] = "\\u";
        char* const end = std::to_chars(escape + 2, std::end(escape), static_cast<int16_t>(unit)).ptr;
        *end = '?';
        body_.append(escape, end + 1);
    }

    static constexpr std::string_view PARAGRAPH_END = "\\par\n";

    const PreviewOptions& options_;
    const bool stand_alone_paragraphs_;
    std::vector<size_t> paragraph_starts_; // in body_, when they stand alone
    ColorTable colors_;
    int link_color_ = 0;
    int grey_ = 0;
    std::string body_;

    int bold_ = 0;
    int italic_ = 0;
    int underline_ = 0;
    int strikeout_ = 0;
    int monospace_ = 0;
    std::vector<int> color_stack_;
    std::vector<int> size_stack_;
    std::vector<Block> blocks_;

    CharFormat written_;        // as the body has set it so far
    ParagraphFormat paragraph_; // likewise
    bool at_paragraph_start_ = true;
    size_t ended_paragraphs_ = 0; // their \par not written yet
    bool swallow_break_ = false;
};

void write_preview(std::string_view post, PreviewWriter& writer)
{
    const std::vector<MatchedTag> tags = match_tags(post);
    size_t text_start = 0;
    for (const MatchedTag& tag : tags) {
        if (!tag.markup)
            continue; // shown as typed, with the text around it
        const TagToken& token = tag.token;
        const bool block_close = token.closing && is_block_tag(token.id);
        writer.text(post.substr(text_start, token.offset - text_start), block_close);
        text_start = token.offset + token.length;
        if (token.id == ForumTagId::img && !token.closing) {
            const size_t address_end = tags[tag.partner].token.offset;
            writer.picture(post.substr(text_start, address_end - text_start));
            text_start = address_end;
        } else if (token.id != ForumTagId::img) {
            writer.tag(token);
        }
    }
    writer.text(post.substr(text_start), false);
}

} // namespace

std::string render_preview_rtf(std::string_view post, const PreviewOptions& options)
{
    PreviewWriter writer(options, post.size(), false);
    write_preview(post, writer);
    return writer.document();
}

PreviewParagraphs render_preview_paragraphs(std::string_view post, const PreviewOptions& options)
{
    PreviewWriter writer(options, post.size(), true);
    write_preview(post, writer);
    return {writer.head(), writer.paragraphs()};
}

std::string preview_paragraphs_document(const PreviewParagraphs& preview, size_t first, size_t last)
{
    last = std::min(last, preview.paragraphs.size());
    std::string document = preview.head;
    for (size_t i = first; i < last; ++i)
        document.append(preview.paragraphs[i]).append("\\par\n");
    return document + "}";
}
