// The RTF side of the preview: a document written as runs of text, each in
// the character and paragraph format it is to show in. What the markup
// means is text/preview/preview_rtf.cpp's. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/preview/preview_rtf.h"

// RTF sizes are in half points; a pixel is three quarters of a point.
// Halves round up, so the forum's 13 pixels are 10 points.
int preview_half_points(int pixels);

// Colour table entries in order of first use; 0 is the text's own colour.
class ColorTable {
public:
    int index_of(std::uint32_t rgb);
    std::string rtf() const;

private:
    std::vector<std::uint32_t> colors_;
    std::unordered_map<std::uint32_t, int> indexes_;
};

struct PreviewCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int color = 0; // in the writer's colour table
    int size = preview_half_points(PREVIEW_TEXT_PIXELS);
    int font = 0; // 1 is the monospace font
};

struct PreviewParagraphFormat {
    int left_indent = 0; // twips
    bool centered = false;
    bool operator==(const PreviewParagraphFormat&) const = default;
};

struct PreviewFormat {
    PreviewCharFormat chars;
    PreviewParagraphFormat paragraph;
};

// Writes the document body. Formats are not nested in RTF groups but written
// as changes just before the text they apply to, so the output's depth stays
// fixed however deep the markup goes. Paragraphs that stand alone also
// restate the whole format in effect where each of them starts.
class PreviewRtfWriter {
public:
    PreviewRtfWriter(std::size_t post_size, bool stand_alone_paragraphs);

    int color_index(std::uint32_t rgb) { return colors_.index_of(rgb); }

    // Text on one line (UTF-8, any bytes), escaped; a paragraph format
    // counts from where the paragraph starts.
    void write(std::string_view text, const PreviewFormat& format);
    void write(std::u32string_view text, const PreviewFormat& format);
    // A whole RTF group from the caller, written as given.
    void write_group(std::string_view group, const PreviewFormat& format);
    // Text in a group of its own, framed and in its own colour.
    void write_framed(std::string_view text, int color, const PreviewFormat& format);

    // The \par is written when more follows, so that the document does not
    // end in an empty paragraph.
    void end_paragraph();
    bool at_paragraph_start() const { return at_paragraph_start_; }

    // "{\rtf1", the font and colour tables and the default format.
    std::string head() const;
    std::string document() const { return head() + body_ + "}"; }
    // The body cut where each paragraph starts, without the \par between.
    std::vector<std::string> paragraphs() const;

private:
    void start_content(const PreviewParagraphFormat& wanted);
    void write_paragraph_format(const PreviewParagraphFormat& format);
    void start_paragraph();
    void set_format(const PreviewCharFormat& wanted);
    void write_escaped(std::string_view text);
    void write_character(char32_t c);

    const bool stand_alone_paragraphs_;
    std::vector<std::size_t> paragraph_starts_; // in body_, when they stand alone
    ColorTable colors_;
    std::string body_;
    PreviewCharFormat written_;          // as the body has set it so far
    PreviewParagraphFormat paragraph_;   // likewise
    bool at_paragraph_start_ = true;
    std::size_t ended_paragraphs_ = 0; // their \par not written yet
};
