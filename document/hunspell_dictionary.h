// One Hunspell dictionary (an .aff and a .dic file), asked in UTF-8
// whatever its own encoding.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Hunspell;

// Why a dictionary could not be loaded, for the message that says so.
enum class DictionaryProblem { none, missing, unreadable, damaged };

struct DictionaryFault {
    DictionaryProblem problem = DictionaryProblem::none;
    // The line of the .aff file whose count the file cannot hold; 0 when
    // the damage is elsewhere.
    std::size_t aff_line = 0;
};

class HunspellDictionary {
public:
    // Loads "<folder>\<name>.aff" and "<folder>\<name>.dic". Slow (a large
    // dictionary takes a good part of a second): never on the UI thread.
    // Hunspell's shared tables are set up unsafely for threads, so only one
    // dictionary may be loaded or destroyed at a time. A damaged dictionary
    // is refused before Hunspell reads it where the damage can be seen, and
    // whatever Hunspell throws on one is caught: null, and `fault` says why.
    static std::unique_ptr<HunspellDictionary> load(const std::wstring& folder, std::wstring_view name,
                                                    DictionaryFault& fault);
    ~HunspellDictionary();
    HunspellDictionary(const HunspellDictionary&) = delete;
    HunspellDictionary& operator=(const HunspellDictionary&) = delete;

    // Whether the dictionary holds the word; false for a word its encoding
    // cannot spell.
    bool accepts(std::string_view word) const;
    // Its suggestions for a misspelt word, best first.
    std::vector<std::string> suggest(std::string_view word) const;
    // Takes the word, with the forms that differ only in capitals, as
    // correct from now on.
    void add(std::string_view word);

private:
    HunspellDictionary(std::unique_ptr<Hunspell> hunspell, unsigned code_page);
    // The word in the dictionary's encoding; empty when it has no spelling there.
    std::string encoded(std::string_view word) const;
    std::string decoded(const std::string& word) const;

    std::unique_ptr<Hunspell> hunspell_;
    unsigned code_page_;
};
