// Spell checking of posts with the chosen dictionaries, the user's own
// words and the words ignored for this session. A word is correct when any
// chosen dictionary accepts it. Safe to use from the UI thread and the
// spelling worker at once.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "document/hunspell_dictionary.h"
#include "document/personal_dictionary.h"
#include "text/spelling/spell_cache.h"

// Which dictionaries check the post; the values are kept in the settings.
enum class SpellLanguages : std::uint8_t { czech = 1, english = 2, both = 3 };

// The dictionaries, by the names of their files.
inline constexpr std::wstring_view CZECH_DICTIONARY = L"cs_CZ";
inline constexpr std::wstring_view ENGLISH_DICTIONARY = L"en_US";

// What went wrong while loading or checking, for the one message that
// says so.
struct SpellLoadReport {
    struct Failure {
        std::wstring path; // the dictionary's files, without their extension
        DictionaryFault fault;
        SpellLanguages language;
    };
    std::vector<Failure> dictionaries;
    // The user's own words: the system's error when the file cannot be
    // read, and the lines of it left out.
    DWORD personal_error = 0;
    std::vector<std::size_t> personal_bad_lines;
    // The check itself failed (out of memory): nothing was checked.
    bool check_failed = false;
};

class SpellChecker {
public:
    // Dictionaries come from `folder`, the user's words from the file
    // `personal_path` (document/personal_dictionary.h).
    SpellChecker(std::wstring folder, std::wstring personal_path);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    // Loads the dictionaries of `languages` that were not tried yet, and the
    // user's words the first time. Slow: meant for the worker. Returns what
    // failed this time; a dictionary that failed is not tried again.
    SpellLoadReport load(SpellLanguages languages);
    // Whether any of the chosen dictionaries is loaded.
    bool ready() const;

    // Checks with these dictionaries from now on.
    void choose(SpellLanguages languages);

    // The misspelt words of the post; none while no dictionary is loaded.
    std::vector<Misspelling> misspellings(std::string_view post);

    // Up to `most` suggestions for the word, from each chosen dictionary in
    // turn.
    std::vector<std::string> suggestions(std::string_view word, std::size_t most) const;

    // The word is correct from now on: added to the user's file. False when
    // it is not kept for the next start (the file cannot be written, or
    // could not be read at this start); the word is accepted for this
    // session all the same.
    bool add_personal_word(std::string_view word);
    // The word is correct until the editor closes.
    void ignore(std::string_view word);

private:
    struct Slot {
        std::wstring_view name;
        SpellLanguages language;
        std::unique_ptr<HunspellDictionary> dictionary;
        bool tried = false;
    };
    bool chosen(const Slot& slot) const;
    bool is_correct(std::string_view word) const;

    const std::wstring folder_;
    const std::wstring personal_path_;
    // Loading takes long and may run on either thread; it holds this, not
    // the lock on the rest, so that checks go on meanwhile.
    std::mutex loading_;
    mutable std::mutex mutex_;
    Slot slots_[2];
    SpellLanguages languages_ = SpellLanguages::both;
    bool personal_read_ = false;
    bool personal_unreadable_ = false;
    std::vector<std::string> personal_words_;
    std::unordered_set<std::string> ignored_;
    SpellCache cache_;
};
