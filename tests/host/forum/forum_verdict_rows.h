// Reads the conformance table of tests/data/forum-verdicts: the posts, the
// forums' verdicts on them and the named exceptions. The posts file's own
// form is described at its top and in docs/forum-judge.md.
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "text/forum/forum_profile.h"

#ifndef FORUM_TEST_DATA_DIR
#error "FORUM_TEST_DATA_DIR names tests/data"
#endif

inline std::string verdicts_file(const std::string& name)
{
    return std::string(FORUM_TEST_DATA_DIR) + "/forum-verdicts/" + name;
}

inline std::vector<std::string> read_lines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline void append_utf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// "⟦U+XXXX⟧" is one code point, "⟦N*text⟧" the text N times (nested).
inline std::string expand_post(const std::string& text)
{
    static const std::string OPEN = "\xE2\x9F\xA6";  // ⟦
    static const std::string CLOSE = "\xE2\x9F\xA7"; // ⟧
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find(OPEN, at);
        if (open == std::string::npos) {
            out += text.substr(at);
            break;
        }
        out += text.substr(at, open - at);
        size_t body = open + OPEN.size();
        if (text.compare(body, 2, "U+") == 0) {
            const size_t close = text.find(CLOSE, body);
            append_utf8(out, static_cast<char32_t>(std::stoul(text.substr(body + 2, close - body - 2), nullptr, 16)));
            at = close + CLOSE.size();
            continue;
        }
        const size_t star = text.find('*', body);
        const unsigned long times = std::stoul(text.substr(body, star - body));
        // The close that matches, past any nested pair.
        size_t depth = 1;
        size_t scan = star + 1;
        size_t close = scan;
        while (depth > 0) {
            const size_t next_open = text.find(OPEN, scan);
            close = text.find(CLOSE, scan);
            if (next_open != std::string::npos && next_open < close) {
                ++depth;
                scan = next_open + OPEN.size();
            } else {
                --depth;
                scan = close + CLOSE.size();
            }
        }
        const std::string once = expand_post(text.substr(star + 1, close - star - 1));
        for (unsigned long i = 0; i < times; ++i)
            out += once;
        at = close + CLOSE.size();
    }
    return out;
}

// Every line break as CR LF, as a browser sends a textarea.
inline std::string with_crlf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r' || text[at] == '\n') {
            out += "\r\n";
            if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
                ++at;
        } else {
            out += text[at];
        }
    }
    return out;
}

// The posts by name, their lines joined with CR LF as a browser sends them.
inline std::map<std::string, std::string> read_judged_posts()
{
    std::map<std::string, std::string> posts;
    std::string name;
    std::vector<std::string> lines;
    const auto flush = [&] {
        if (name.empty())
            return;
        std::string joined;
        for (size_t i = 0; i < lines.size(); ++i)
            joined.append(i ? "\n" : "").append(lines[i]);
        posts[name] = with_crlf(expand_post(joined));
    };
    std::vector<std::string> file = read_lines(verdicts_file("posts.txt"));
    while (!file.empty() && file.back().empty())
        file.pop_back();
    for (const std::string& line : file) {
        if (line.rfind("=== ", 0) == 0) {
            flush();
            name = line.substr(4);
            lines.clear();
        } else if (!name.empty()) {
            lines.push_back(line);
        }
    }
    flush();
    return posts;
}

inline std::vector<std::string> split_tabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

inline ForumProfileId forum_named(const std::string& name)
{
    if (name == "phpbb")
        return ForumProfileId::phpbb;
    if (name == "mybb")
        return ForumProfileId::mybb;
    if (name == "smf")
        return ForumProfileId::smf;
    throw std::runtime_error("unknown forum " + name);
}

inline const char* const JUDGED_FORUMS[] = {"phpbb", "mybb", "smf"};

struct ForumVerdictRow {
    std::string post;
    std::string forum_name;
    ForumProfileId forum;
    std::map<std::string, std::string> values; // by column name
};

inline std::vector<ForumVerdictRow> read_verdict_rows()
{
    std::vector<ForumVerdictRow> rows;
    for (const char* forum : JUDGED_FORUMS) {
        std::vector<std::string> header;
        for (const std::string& line : read_lines(verdicts_file(std::string("verdicts-") + forum + ".tsv"))) {
            std::vector<std::string> fields = split_tabs(line);
            if (line.rfind("# ", 0) == 0) {
                fields[0] = fields[0].substr(2);
                header = fields;
                continue;
            }
            if (fields.size() != header.size())
                throw std::runtime_error("a row of " + std::string(forum) + " has " + std::to_string(fields.size()) +
                                         " fields: " + line.substr(0, 60));
            ForumVerdictRow row{fields[0], fields[1], forum_named(fields[1]), {}};
            for (size_t i = 2; i < fields.size(); ++i)
                row.values[header[i]] = fields[i];
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

struct ExceptionKey {
    std::string post;
    std::string forum;
    std::string column;
    bool operator<(const ExceptionKey& other) const
    {
        return std::tie(post, forum, column) < std::tie(other.post, other.forum, other.column);
    }
};

// exceptions.tsv: post, forum, column, why. "#" starts a comment line.
inline std::map<ExceptionKey, std::string> read_verdict_exceptions(const std::string& file = "exceptions.tsv")
{
    std::map<ExceptionKey, std::string> exceptions;
    for (const std::string& line : read_lines(verdicts_file(file))) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::vector<std::string> fields = split_tabs(line);
        if (fields.size() < 4)
            throw std::runtime_error("an exception needs post, forum, column and why: " + line);
        exceptions[{fields[0], fields[1], fields[2]}] = fields[3];
    }
    return exceptions;
}
