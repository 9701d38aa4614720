// Timings of the reflow and post link text logic on large selections, both
// ordinary posts and inputs shaped to hit the slow paths. The reflow should
// take well under 1 ms for 64 KiB and grow linearly (1 MiB at most 20 times
// the 64 KiB time). The step-by-step reference reflow is timed on 64 KiB for
// comparison. The RTF scan that guards Open should grow linearly too and read
// a 16 MiB document in well under the time the control takes to load it.
#include "document/rtf_prescan.h"
#include "markup/post_link_text.h"
#include "markup/reflow_text.h"
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
};

constexpr Input POST_LINK_INPUTS[] = {
    {"prose_no_hash", [](size_t size) { return prose(size, false); }},
    {"prose_then_address",
     [](size_t size) { return prose(size - 60, false) + FORUM_BASE_URL "/read.php?23,1676166,1676237#REPLY"; }},
    {"long_post_number", [](size_t size) { return repeated("7", size - 6, "x,") + "#REPLY"; }},
    {"comma_only_at_start", [](size_t size) { return repeated("a", size - 1, ",") + "#"; }},
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

template <typename Function>
void add(const std::string& name, std::string text, Function function)
{
    benchmark::RegisterBenchmark(name.c_str(), [text = std::move(text), function](benchmark::State& state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(function(text));
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    })->Unit(benchmark::kMicrosecond);
}

void register_benchmarks()
{
    for (size_t size : {64 * KiB, 1 * MiB}) {
        for (const Input& input : REFLOW_INPUTS)
            add("reflow/" + std::string(input.name) + "/" + size_name(size), input.make(size),
                [](const std::string& text) { return reflow_for_forum(text); });
        for (const Input& input : POST_LINK_INPUTS)
            add("post_link/" + std::string(input.name) + "/" + size_name(size), input.make(size),
                [](const std::string& text) { return post_link_text(text, "[url]", "[/url]"); });
    }
    for (size_t size : {64 * KiB, 1 * MiB, 16 * MiB}) {
        for (const Input& input : RTF_SCAN_INPUTS)
            add("scan_rtf/" + std::string(input.name) + "/" + size_name(size), input.make(size),
                [](const std::string& text) { return scan_rtf(text); });
    }
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
