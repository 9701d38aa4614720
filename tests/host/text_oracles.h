// Reference versions of the reflow and post link text logic, written out
// step by step exactly as the commands have always worked: naive searches,
// one-character deletions and replacements on std::string. Deliberately slow
// (reflow is quadratic) and deliberately literal; the host tests and the
// fuzzers check the real functions against them.
#pragma once

#include "markup/post_link_text.h"

#include <string>

namespace oracle {

// A forward search from `start`: the position of the first occurrence of
// `what` at or after it, or -1; a start of -1 or at or beyond the end gives -1.
inline int search(const std::string& st, const std::string& what, int start)
{
    if (start < 0 || start >= static_cast<int>(st.size()))
        return -1;
    const std::string::size_type found = st.find(what, static_cast<std::string::size_type>(start));
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

inline std::string break_long_lines(const std::string& selection)
{
    const std::string nRadek = "\n";
    const std::string st13 = "\r";
    const std::string stNic = "";

    // 1. The working copy.
    std::string st = selection;

    // 2. Short selections go back as they are.
    if (st.size() <= 80)
        return st;

    // 3. Delete line feeds; the search resumes one past the deleted one.
    int p = search(st, nRadek, 0);
    while (p >= 1) {
        st.replace(p, 1, stNic);
        p = search(st, nRadek, p + 1);
    }

    // 4. The same with carriage returns, from the start again.
    p = search(st, st13, 0);
    while (p >= 1) {
        st.replace(p, 1, stNic);
        p = search(st, st13, p + 1);
    }

    // 5. Web addresses on lines of their own.
    p = search(st, "http:", 0);
    while (p >= 1) {
        st.replace(p - 1, 1, nRadek);
        const int q = search(st, " ", p + 5);
        if (q >= 1)
            st.replace(q, 1, nRadek);
        p = search(st, "http:", q);
    }

    // 6. Break at the first space after every 80 positions.
    p = search(st, " ", 80);
    while (p >= 1) {
        st.replace(p, 1, nRadek);
        p = search(st, " ", p + 80);
    }

    // 7. The text that replaces the selection.
    return st;
}

// 0 = converted, 1 or 2 = the number of the message shown instead.
struct PostLink {
    int message;
    std::string buf;
};

inline PostLink convert_post_link(const std::string& selection, const std::string& open,
                                  const std::string& close)
{
    // 1. The selected text.
    const std::string s = selection;

    // 2. The first "#".
    const std::string::size_type p = s.find('#');
    if (p == std::string::npos)
        return {2, ""};

    // 3. The last "," at or before it, searching back down to position 0.
    std::string::size_type q = std::string::npos;
    for (std::string::size_type i = p + 1; i-- > 0;) {
        if (s[i] == ',') {
            q = i;
            break;
        }
    }
    if (q == std::string::npos || q == 0)
        return {1, ""};

    // 4. to 6. The address before the "#", then "#msg-" and the post number.
    std::string sAdresa = s.substr(0, p);
    const std::string sCislo = s.substr(q + 1, p - q - 1);
    sAdresa += "#msg-";
    sAdresa += sCislo;

    // 7. Open tag, link, close tag.
    return {0, open + sAdresa + close};
}

// The reference's message number for an outcome of the real function.
inline int message_number(PostLinkOutcome outcome)
{
    switch (outcome) {
    case PostLinkOutcome::converted:
        return 0;
    case PostLinkOutcome::no_comma_before_hash:
        return 1;
    case PostLinkOutcome::no_hash:
        return 2;
    }
    return -1;
}

} // namespace oracle
