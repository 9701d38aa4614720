#include "text/preview/preview_rtf_writer.h"

#include <algorithm>
#include <utility>

#include "text/unicode/code_points.h"
#include "text/rtf/rtf_unicode.h"
#include "text/unicode/unicode_text.h"

namespace {

constexpr std::string_view PARAGRAPH_END = "\\par\n";

bool is_plain_ascii(char c)
{
    return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}';
}

} // namespace

int preview_half_points(int pixels)
{
    return (std::clamp(pixels, PREVIEW_SMALLEST_PIXELS, PREVIEW_LARGEST_PIXELS) * 3 + 1) / 2;
}

int ColorTable::index_of(std::uint32_t rgb)
{
    const auto [entry, added] = indexes_.try_emplace(rgb, static_cast<int>(colors_.size()) + 1);
    if (added)
        colors_.push_back(rgb);
    return entry->second;
}

std::string ColorTable::rtf() const
{
    std::string table = "{\\colortbl;";
    for (std::uint32_t rgb : colors_)
        table += "\\red" + std::to_string(rgb >> 16) + "\\green" + std::to_string((rgb >> 8) & 0xFF) + "\\blue" +
                 std::to_string(rgb & 0xFF) + ";";
    return table + "}";
}

PreviewRtfWriter::PreviewRtfWriter(std::size_t post_size, bool stand_alone_paragraphs)
    : stand_alone_paragraphs_(stand_alone_paragraphs)
{
    body_.reserve(post_size + post_size / 2 + 64);
    start_paragraph();
}

void PreviewRtfWriter::write(std::string_view text, const PreviewFormat& format)
{
    start_content(format.paragraph);
    set_format(format.chars);
    write_escaped(text);
}

void PreviewRtfWriter::write(std::u32string_view text, const PreviewFormat& format)
{
    start_content(format.paragraph);
    set_format(format.chars);
    for (char32_t c : text)
        write_character(c);
}

void PreviewRtfWriter::write_group(std::string_view group, const PreviewFormat& format)
{
    start_content(format.paragraph);
    set_format(format.chars);
    body_ += group;
}

void PreviewRtfWriter::write_framed(std::string_view text, int color, const PreviewFormat& format)
{
    start_content(format.paragraph);
    set_format(format.chars);
    // The group keeps its own colour and frame to itself.
    body_ += "{\\cf" + std::to_string(color) + "\\chbrdr\\brdrs\\brdrw10 ";
    write_escaped(text);
    body_ += "}";
}

void PreviewRtfWriter::end_paragraph()
{
    ++ended_paragraphs_;
    at_paragraph_start_ = true;
}

std::string PreviewRtfWriter::head() const
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
           "{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}" +
           colors_.rtf() + "\n\\pard\\f0\\fs" + std::to_string(preview_half_points(PREVIEW_TEXT_PIXELS)) + "\n";
}

std::vector<std::string> PreviewRtfWriter::paragraphs() const
{
    std::vector<std::string> paragraphs;
    paragraphs.reserve(paragraph_starts_.size());
    for (std::size_t i = 0; i < paragraph_starts_.size(); ++i) {
        const std::size_t start = paragraph_starts_[i];
        const std::size_t end =
            i + 1 < paragraph_starts_.size() ? paragraph_starts_[i + 1] - PARAGRAPH_END.size() : body_.size();
        paragraphs.emplace_back(body_, start, end - start);
    }
    return paragraphs;
}

// Paragraph formats are set where a paragraph starts and hold until \par.
void PreviewRtfWriter::start_content(const PreviewParagraphFormat& wanted)
{
    for (; ended_paragraphs_ > 0; --ended_paragraphs_) {
        body_ += PARAGRAPH_END;
        start_paragraph();
    }
    if (at_paragraph_start_) {
        if (!(wanted == paragraph_)) {
            write_paragraph_format(wanted);
            body_ += ' ';
            paragraph_ = wanted;
        }
        at_paragraph_start_ = false;
    }
}

void PreviewRtfWriter::write_paragraph_format(const PreviewParagraphFormat& format)
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
void PreviewRtfWriter::start_paragraph()
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

void PreviewRtfWriter::set_format(const PreviewCharFormat& wanted)
{
    const std::size_t before = body_.size();
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

// Escapes text on the line; the format is set already.
void PreviewRtfWriter::write_escaped(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        if (is_plain_ascii(text[at])) {
            // Plain ASCII goes over in one piece.
            std::size_t end = at + 1;
            while (end < text.size() && is_plain_ascii(text[end]))
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

void PreviewRtfWriter::write_character(char32_t c)
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
        append_unicode_escape(body_, static_cast<char16_t>(c));
    } else {
        append_unicode_escape(body_, high_surrogate_of(c));
        append_unicode_escape(body_, low_surrogate_of(c));
    }
}
