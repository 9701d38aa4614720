// Timings of the reflow and post link text logic on large selections, both
// ordinary posts and inputs shaped to hit the slow paths. The reflow should
// take well under 1 ms for 64 KiB and grow linearly (1 MiB at most 20 times
// the 64 KiB time). The step-by-step reference reflow is timed on 64 KiB for
// comparison.
// The undo history is timed over 1,000 steps: each carrying a whole
// 60,000-character document before and after (commands on everything, which
// also pushes the oldest steps out of the 64 MiB budget), and a 60,000-
// character document typed key by key in 1,000 runs. The crash-recovery
// draft, written every few seconds, is timed on the same document.
// The preview of a 60,000-character post should take under 20 ms, and the
// counts with the tag check on it under 2 ms, whatever markup it holds.
// The conversions between UTF-8 and UTF-16 and of text files are timed on
// Czech text, and must grow linearly as well.
// counts with the tag check on it under 2 ms, whatever markup it holds. The
// preview cut into paragraphs for the pane is timed alike, with the search
// for the paragraph that one key changed.
// Pasted HTML: a long article as a browser copies it converts to markup,
// 1 MB in under 200 ms, linearly.
#include "text/paste/html_markup.h"
#include "text/files/draft_file.h"
#include "text/history/edit_history.h"
#include "text/history/edit_pieces.h"
#include "text/rtf/rtf_prescan.h"
#include "text/files/text_encoding.h"
#include "text/forum/forum_urls.h"
#include "text/forum/post_counts.h"
// comparison. The RTF scan that guards Open should grow linearly too and read
// a 16 MiB document in well under the time the control takes to load it.
#include "text/rtf/rtf_prescan.h"
#include "text/preview/paragraph_sync.h"
#include "text/commands/post_link_text.h"
#include "text/preview/preview_rtf.h"
#include "text/commands/reflow_text.h"
#include "text/forum/tag_check.h"
#include "text/unicode/unicode_text.h"
#include "text_oracles.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

constexpr size_t KiB = 1024;
constexpr size_t MiB = 1024 * KiB;

std::string repeated(std::string_view piece, size_t size, std::string_view head = "")
{
    std::string text(head);
    while (text.size() < size)
        text += piece;
    text.resize(size);
    return text;
}

// Words, CR LF line ends around every 70 characters, a blank line every few
// lines and, if wanted, now and then a post address.
std::string prose(size_t size, bool with_addresses)
{
    std::mt19937 random(42);
    std::string text;
    size_t line = 0;
    int lines = 0;
    while (text.size() < size) {
        if (with_addresses && random() % 40 == 0)
            text += "http://forum.example.org/read.php?23,1676166,1676237#REPLY ";
        text.append(1 + random() % 10, static_cast<char>('a' + random() % 26));
        text += ' ';
        if (text.size() - line > 70) {
            text += ++lines % 6 == 0 ? "\r\n\r\n" : "\r\n";
            line = text.size();
        }
    }
    text.resize(size);
    return text;
}

// The same shape in Czech: two-byte letters in most words and now and then
// an emoji, about a third of the bytes beyond ASCII. Ends on a whole
// character, at or just past `size` bytes.
std::string czech_prose(size_t size, bool with_addresses)
{
    constexpr std::string_view letters[] = {"a", "e", "o", "n", "s", "t", "\u010D", "\u0159", "\u017E", "\u00FD",
                                            "\u00E1", "\u00ED", "\u016F", "\u011B", "\u0161", "\U0001F600"};
    std::mt19937 random(42);
    std::string text;
    size_t line = 0;
    int lines = 0;
    while (text.size() < size) {
        if (with_addresses && random() % 40 == 0)
            text += "http://forum.example.org/read.php?23,1676166,1676237#REPLY ";
        for (size_t n = 1 + random() % 10; n > 0; --n)
            text += letters[random() % (random() % 8 == 0 ? std::size(letters) : std::size(letters) - 1)];
        text += ' ';
        if (text.size() - line > 100) {
            text += ++lines % 6 == 0 ? "\r\n\r\n" : "\r\n";
            line = text.size();
        }
    }
    return text;
}

struct Input {
    const char* name;
    std::string (*make)(size_t size);
};

constexpr Input REFLOW_INPUTS[] = {
    {"prose", [](size_t size) { return prose(size, true); }},
    {"lf_runs", [](size_t size) { return repeated("\n", size, "a"); }},
    {"crlf_runs", [](size_t size) { return repeated("\r\n", size, "a"); }},
    {"dense_http", [](size_t size) { return repeated("http: ", size, "x"); }},
    {"http_no_spaces", [](size_t size) { return repeated("http:", size, "x"); }},
    {"near_http", [](size_t size) { return repeated("ttp:", size, "x"); }},
    {"no_spaces", [](size_t size) { return repeated("a", size); }},
    {"czech_prose", [](size_t size) { return czech_prose(size, true); }},
    {"czech_no_spaces", [](size_t size) { return repeated("\u017E", size); }},
};

constexpr Input POST_LINK_INPUTS[] = {
    {"prose_no_hash", [](size_t size) { return prose(size, false); }},
    {"prose_then_address",
     [](size_t size) { return prose(size - 60, false) + FORUM_BASE_URL "/read.php?23,1676166,1676237#REPLY"; }},
    {"long_post_number", [](size_t size) { return repeated("7", size - 6, "x,") + "#REPLY"; }},
    {"comma_only_at_start", [](size_t size) { return repeated("a", size - 1, ",") + "#"; }},
    {"czech_then_address",
     [](size_t size) { return czech_prose(size - 60, false) + FORUM_BASE_URL "/read.php?23,1676166,1676237#REPLY"; }},
};

// Pieces of a post, each with its number of characters, joined until the
// post has `characters` of them.
std::string post_of(std::initializer_list<std::pair<std::string_view, size_t>> pieces, size_t characters)
{
    std::mt19937 random(42);
    std::string post;
    for (size_t count = 0; count < characters;) {
        const auto& [piece, piece_characters] = *(pieces.begin() + random() % pieces.size());
        post += piece;
        count += piece_characters;
    }
    return post;
}

constexpr size_t POST_CHARACTERS = 60'000;

constexpr Input POST_INPUTS[] = {
    {"marked_up_post",
     [](size_t characters) {
         return post_of({{"Dobrý den, ", 11}, {"příliš žluťoučký kůň ", 21}, {"[b]tučně[/b] ", 13},
                         {"[i]kurzíva[/i] ", 15}, {"[color=#FF0000]červená[/color] ", 30}, {"\r\n", 1},
                         {"[quote=Petr]citace\r\n[/quote]\r\n", 30}, {"[url]https://forum.example.org/x[/url] ", 39},
                         {"[img]https://forum.example.org/s.png[/img]", 42}, {"[size=22px]velké[/size] ", 24},
                         {"[list]\r\n[*]jedna\r\n[*]dvě\r\n[/list]\r\n", 36}, {"[code]\r\nint x = 0;\r\n[/code]\r\n", 27},
                         {"[hr]\r\n", 5}, {"😀 ", 2}},
                        characters);
     }},
    {"plain_text", [](size_t characters) { return post_of({{"slovo ", 6}, {"věta.\r\n", 6}}, characters); }},
    {"unclosed_tags", [](size_t characters) { return post_of({{"[b]", 3}, {"[quote]", 7}, {"[code]", 6}, {"[img]", 5}}, characters); }},
    {"stray_closes", [](size_t characters) { return post_of({{"[/b]", 4}, {"[/quote]", 8}, {"[/code]", 7}}, characters); }},
    {"crossings", [](size_t characters) { return post_of({{"[b][i]x[/b][/i]", 15}, {"[u][s][/u]", 10}, {"[/s]", 4}}, characters); }},
    {"deep_nesting", [](size_t characters) {
         std::string post;
         for (size_t i = 0; i < characters / 30; ++i)
             post += "[quote][b]";
         for (size_t i = 0; i < characters / 30; ++i)
             post += "[/b][/quote]";
         return post;
     }},
    {"rules_and_items", [](size_t characters) { return post_of({{"[hr]", 4}, {"[list][*][*][*]", 15}, {"[*][*]", 6}}, characters); }},
    {"brackets_no_tags", [](size_t characters) { return post_of({{"[", 1}, {"[url=", 5}, {"[b", 2}, {"x]", 2}}, characters); }},
};

// RTF as the editor writes it, and shapes that keep the scan busiest.
constexpr Input RTF_SCAN_INPUTS[] = {
    {"document", [](size_t size) {
         return "{\\rtf1\\ansi" + repeated("{\\b\\cf1 [b]}tu\\'e8n\\'e9{\\b0\\cf0 [/b]} slova \\u269?\\par\r\n", size - 8) + "}";
     }},
    {"groups_at_the_limit", [](size_t size) {
         return "{\\rtf1" + repeated(std::string(31, '{') + std::string(31, '}'), size - 7) + "}";
     }},
    {"control_words", [](size_t size) { return "{\\rtf1" + repeated("\\b\\i0\\fs20\\pard ", size - 7) + "}"; }},
    {"escapes", [](size_t size) { return "{\\rtf1" + repeated("\\{\\}\\\\\\'", size - 7) + "}"; }},
    {"bin_pictures", [](size_t size) {
         return "{\\rtf1" + repeated("{\\pict\\bin8 {}{}{}{}}", size - 7) + "}";
     }},
};

std::string size_name(size_t size)
{
    return size >= MiB ? std::to_string(size / MiB) + "MiB" : std::to_string(size / KiB) + "KiB";
}

template <typename Text, typename Function>
void add(const std::string& name, Text text, Function function)
{
    benchmark::RegisterBenchmark(name.c_str(), [text = std::move(text), function](benchmark::State& state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(function(text));
        const size_t bytes = text.size() * sizeof(typename Text::value_type);
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    })->Unit(benchmark::kMicrosecond);
}

// Text to and from the control, positions, and text files, on Czech text of
// `size` UTF-8 bytes (the UTF-16 one holds the same characters).
void add_conversions(size_t size)
{
    const std::string utf8 = czech_prose(size, false);
    const std::u16string utf16 = utf8_to_utf16(utf8);
    const std::string utf16_file = encode_text(utf8, TextEncoding::utf16le_bom);
    const std::string suffix = "/czech/" + size_name(size);
    add("utf8_to_utf16" + suffix, utf8, [](const std::string& text) { return utf8_to_utf16(text); });
    add("utf16_to_utf8" + suffix, utf16, [](const std::u16string& text) { return utf16_to_utf8(text); });
    add("count_code_points" + suffix, utf8, [](const std::string& text) { return count_code_points(text); });
    add("utf16_length" + suffix, utf8, [](const std::string& text) { return utf16_length(text); });
    add("utf8_offset_of_utf16_end" + suffix, utf8,
        [](const std::string& text) { return utf8_offset_of_utf16(text, text.size()); });
    add("detect_text_encoding" + suffix, utf8, [](const std::string& text) { return detect_text_encoding(text); });
    add("decode_text_utf8" + suffix, utf8,
        [](const std::string& text) { return decode_text(text, TextEncoding::utf8).text; });
    add("encode_text_utf8" + suffix, utf8,
        [](const std::string& text) { return encode_text(text, TextEncoding::utf8); });
    add("decode_text_utf16le" + suffix, utf16_file,
        [](const std::string& text) { return decode_text(text, TextEncoding::utf16le_bom).text; });
    add("encode_text_utf16le" + suffix, utf8,
        [](const std::string& text) { return encode_text(text, TextEncoding::utf16le_bom); });
}

// A document as the control streams it out: an RTF head, then the text.
std::string rtf_document(size_t size)
{
    const std::string head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
    return head + prose(size - head.size() - 1, true) + "}";
}

// A long article as a browser puts it on the clipboard: headings,
// paragraphs with styled runs and links, lists and quotes, in spans that
// carry inline styles, `size` bytes of it.
std::string html_article(size_t size)
{
    std::string html;
    const std::string words = czech_prose(4 * KiB, false);
    size_t at = 0;
    const auto some_words = [&](size_t length) {
        if (at + length > words.size())
            at = 0;
        const size_t end = words.find(' ', at + length);
        std::string piece = words.substr(at, end - at);
        at = end == std::string::npos ? 0 : end + 1;
        return piece;
    };
    for (int section = 0; html.size() < size; ++section) {
        html += "<h2 style=\"font-size:24px;color:rgb(32,33,36)\">" + some_words(30) + "</h2>\n";
        for (int paragraph = 0; paragraph < 4; ++paragraph)
            html += "<p style=\"margin:0 0 1em 0\"><span style=\"color:rgb(32,33,36);font-family:Arial\">" +
                    some_words(120) + " <b>" + some_words(15) + "</b> " + some_words(60) +
                    " <a href=\"https://www.example.org/clanek/" + std::to_string(section) + "\">" + some_words(20) +
                    "</a> <em>" + some_words(25) + "</em>, " + some_words(150) + "</span></p>\n";
        html += "<ul><li>" + some_words(40) + "</li><li>" + some_words(40) + "</li></ul>\n<blockquote><p>" +
                some_words(100) + "</p></blockquote>\n";
    }
    return html;
}

constexpr size_t DOCUMENT_CHARS = 60000;
constexpr int HISTORY_STEPS = 1000;

EditStep replacement(EditKind kind, int32_t start, int32_t removed, std::string before, int32_t inserted,
                     std::string after)
{
    EditStep step;
    step.kind = kind;
    step.start = start;
    step.removed_length = removed;
    step.inserted_length = inserted;
    step.before.push_back(std::move(before));
    step.after.push_back(std::move(after));
    step.selection_before = {start, start + removed};
    step.selection_after = {start, start + inserted};
    return step;
}

void register_history_benchmarks()
{
    benchmark::RegisterBenchmark("history/whole_document_steps/1000", [](benchmark::State& state) {
        const std::string document = rtf_document(DOCUMENT_CHARS);
        for (auto _ : state) {
            EditHistory history;
            for (int i = 0; i < HISTORY_STEPS; ++i)
                history.record(replacement(EditKind::command, 0, DOCUMENT_CHARS, document, DOCUMENT_CHARS, document));
            while (history.undo()) {
            }
            benchmark::DoNotOptimize(history.memory_bytes());
        }
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * HISTORY_STEPS * 2 * document.size()));
    })->Unit(benchmark::kMillisecond);

    benchmark::RegisterBenchmark("history/typed_document_in_runs/1000", [](benchmark::State& state) {
        // What the control streams out for one typed character.
        const std::string key = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 a}";
        constexpr int run_length = DOCUMENT_CHARS / HISTORY_STEPS;
        for (auto _ : state) {
            EditHistory history;
            int32_t caret = 0;
            for (int run = 0; run < HISTORY_STEPS; ++run) {
                history.break_coalescing();
                for (int i = 0; i < run_length; ++i, ++caret)
                    history.record(replacement(EditKind::typing, caret, 0, "", 1, key));
            }
            while (history.undo()) {
            }
            while (history.redo()) {
            }
            benchmark::DoNotOptimize(history.memory_bytes());
        }
        state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * DOCUMENT_CHARS));
    })->Unit(benchmark::kMillisecond);

    for (size_t size : {DOCUMENT_CHARS, 1 * MiB}) {
        Draft draft;
        draft.file_name = "C:\\posts\\post.rtf";
        draft.encoding = "windows-1250";
        draft.body = rtf_document(size);
        const std::string name = size == DOCUMENT_CHARS ? "60000chars" : size_name(size);
        benchmark::RegisterBenchmark(("draft/write/" + name).c_str(), [draft](benchmark::State& state) {
            for (auto _ : state)
                benchmark::DoNotOptimize(write_draft(draft));
            state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * draft.body.size()));
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("draft/read/" + name).c_str(), [bytes = write_draft(draft)](benchmark::State& state) {
            for (auto _ : state)
                benchmark::DoNotOptimize(read_draft(bytes));
            state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
        })->Unit(benchmark::kMicrosecond);
    }
}

// What undoing a command on 60,000 characters asks of the pieces: finding
// the wrapped text whole in the result (also where only its end differs,
// the search's worst case), and joining a typed run of 60,000 keys.
void register_piece_benchmarks()
{
    std::u16string before(DOCUMENT_CHARS, u'a');
    before.back() = u'b';
    const std::u16string wrapped = u"[b]" + before + u"[/b]";
    const std::u16string almost = u"[b]" + std::u16string(DOCUMENT_CHARS, u'a') + u"[/b]";
    for (const auto& [name, result] : {std::pair{"wrapped", wrapped}, std::pair{"not_there", almost}}) {
        benchmark::RegisterBenchmark((std::string("pieces/find_unchanged_middle/") + name + "/60000").c_str(),
                                     [before, after = result](benchmark::State& state) {
                                         for (auto _ : state)
                                             benchmark::DoNotOptimize(find_unchanged_middle(before, after));
                                     })
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("pieces/join_typed_run/60000", [](benchmark::State& state) {
        std::vector<Piece> typed{{PieceKind::text, 1, "a", std::string(116, 'f'), ""}};
        typed.resize(DOCUMENT_CHARS, Piece{PieceKind::text, 1, "a", "", ""});
        for (auto _ : state)
            benchmark::DoNotOptimize(join_text_pieces(typed));
    })->Unit(benchmark::kMicrosecond);
}

void register_benchmarks()
{
    register_history_benchmarks();
    register_piece_benchmarks();
    for (size_t size : {64 * KiB, 1 * MiB}) {
        for (const Input& input : REFLOW_INPUTS)
            add("reflow/" + std::string(input.name) + "/" + size_name(size), input.make(size),
                [](const std::string& text) { return reflow_for_forum(text); });
        for (const Input& input : POST_LINK_INPUTS)
            add("post_link/" + std::string(input.name) + "/" + size_name(size), input.make(size),
                [](const std::string& text) { return post_link_text(text, "[url]", "[/url]"); });
        add_conversions(size);
    }
    for (const Input& input : POST_INPUTS) {
        const std::string post = input.make(POST_CHARACTERS);
        add("preview_rtf/" + std::string(input.name) + "/60k", post,
            [](const std::string& text) { return render_preview_rtf(text); });
        add("counts_and_tag_check/" + std::string(input.name) + "/60k", post, [](const std::string& text) {
            const PostCounts counts = count_post(text);
            return counts.words + check_tags(text).offset;
        });
        // Each forum's counting and tags, against this editor's above.
        for (const auto& [id, name] : {std::pair{ForumProfileId::phpbb, "phpbb"}, std::pair{ForumProfileId::smf, "smf"},
                                       std::pair{ForumProfileId::mybb, "mybb"}}) {
            add("counts_and_tag_check/" + std::string(input.name) + "/60k/" + name, post,
                [&profile = forum_profile(id)](const std::string& text) {
                    const PostCounts counts = count_post(text, profile);
                    return counts.words + check_tags(text, profile).offset;
                });
        }
        add("preview_paragraphs/" + std::string(input.name) + "/60k", post,
            [](const std::string& text) { return render_preview_paragraphs(text).paragraphs.size(); });
    }
    for (size_t size : {64 * KiB, 1 * MiB})
        add("html_to_markup/article/" + size_name(size), html_article(size),
            [](const std::string& text) { return html_to_markup(text, "", {}).markup.text.size(); });
    for (size_t size : {64 * KiB, 1 * MiB, 16 * MiB}) {
        for (const Input& input : RTF_SCAN_INPUTS)
            add("scan_rtf/" + std::string(input.name) + "/" + size_name(size), input.make(size),
                [](const std::string& text) { return scan_rtf(text); });
    }
    // A key typed in the middle of the post: the pane's next step is found
    // among some thousand paragraphs.
    const std::string post = POST_INPUTS[0].make(POST_CHARACTERS);
    std::string typed = post;
    typed.insert(post.find("kůň", post.size() / 2), "x");
    benchmark::RegisterBenchmark("paragraph_sync/one_key/60k",
                                 [shown = render_preview_paragraphs(post).paragraphs,
                                  wanted = render_preview_paragraphs(typed).paragraphs](benchmark::State& state) {
                                     for (auto _ : state)
                                         benchmark::DoNotOptimize(next_paragraph_edit(shown, wanted, 6000));
                                 })
        ->Unit(benchmark::kMicrosecond);
    for (const char* name : {"prose", "lf_runs"}) {
        for (const Input& input : REFLOW_INPUTS)
            if (std::string_view(input.name) == name)
                add("reflow_reference/" + std::string(name) + "/64KiB", input.make(64 * KiB),
                    [](const std::string& text) { return oracle::break_long_lines(text); });
    }
}

} // namespace

int main(int argc, char** argv)
{
    register_benchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
