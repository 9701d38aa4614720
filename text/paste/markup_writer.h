// Writes formatted text as the post's markup, for a paste: runs of text in
// their styles, and blocks (quotes, lists, rows) around them. Whatever comes
// in, the tags it writes nest soundly, no deeper than the preview and the
// forums lay out, and only those the options allow. Pure text: no Windows
// headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/paste/pasted_markup.h"

inline constexpr std::uint32_t NO_COLOR = 0xFFFFFFFF;

// How a run of text looks. A link's address is already safe to write.
struct InlineStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::uint32_t color = NO_COLOR; // 0xRRGGBB
    int size_px = 0;                // 0 for the normal size
    std::string link;               // a web address, or an e-mail address when `email`
    bool email = false;
    std::size_t link_number = 0; // tells two links to one address apart
    bool operator==(const InlineStyle&) const = default;
};

enum class Block : std::uint8_t {
    paragraph, // any block without a tag of its own: p, div, a heading, a row
    quote,
    center,
    list,
    ordered_list,
    item,
    cell,
};

class MarkupWriter {
public:
    explicit MarkupWriter(const PasteOptions& options);

    // Text laid out as a browser lays it out: white space collapses to one
    // space, none at the start or end of a line; a no-break space stays.
    void flowing_text(std::string_view utf8, const InlineStyle& style);
    // Text whose spaces count, with "\n" for its line breaks (a word
    // processor's).
    void preserved_text(std::string_view utf8, const InlineStyle& style);
    // A line break inside a block (<br>).
    void line_break();
    void open_block(Block block);
    void close_block(Block block);
    void rule();
    // A block whose text stands as it is, in [code] when allowed.
    void code_block(std::string_view utf8);
    // A picture at a safe web address; the editor's own smileys are written
    // as their menu items write them.
    void picture(std::string_view address, const InlineStyle& style);

    // Closes whatever is still open and hands the markup over.
    PastedMarkup finish();

private:
    struct OpenTag {
        ForumTagId tag;
        std::string value;    // what tells two of the same tag apart
        std::size_t instance; // and, for links, which one it is
        std::uint32_t rgb;
        std::size_t begin;         // of its "["
        std::size_t content_begin; // past its "]"
    };
    struct OpenBlock {
        Block block;
        bool tag_written;
        std::size_t begin;
        std::size_t content_begin;
        int next_number; // of an ordered list's next item
        bool had_cell;   // of a row: whether a cell came before
    };
    struct ByteTag {
        ForumTagId tag;
        std::size_t begin;
        std::size_t end;
        std::uint32_t rgb;
    };

    void write_content(std::string_view utf8, const InlineStyle& style);
    void write_pending_space();
    void start_content(const InlineStyle& style);
    void apply_style(const InlineStyle& style);
    std::vector<OpenTag> tags_for(const InlineStyle& style) const;
    void open_inline(OpenTag tag);
    void close_inline_down_to(std::size_t keep);
    void close_inline(OpenTag& tag);
    void end_line();
    void start_block_line();
    void block_boundary();
    void write_tag_text(std::string_view text);
    std::size_t open_depth() const;
    bool can_open(ForumTagId tag) const;
    std::size_t trailing_line_breaks() const;
    void trim_trailing_spaces();
    bool in_cell() const { return cells_ > 0; }

    PasteOptions options_;
    std::string out_;
    std::vector<ByteTag> written_;
    std::vector<OpenTag> inline_;
    std::vector<OpenBlock> blocks_;
    InlineStyle applied_;        // the style the open inline tags stand for
    bool applied_valid_ = true;  // false once they no longer do
    bool pending_space_ = false; // a collapsed space not yet written
    bool need_line_ = false;     // the next content starts a line of its own
    bool at_line_start_ = true;
    std::size_t last_tag_end_ = 0; // nothing before it is trimmed
    std::size_t block_tags_ = 0;   // blocks whose tags are open
    int cells_ = 0;
};
