#include "document/spell_checker.h"

#include <algorithm>


SpellChecker::SpellChecker(std::wstring folder, std::wstring personal_path)
    : folder_(std::move(folder)), personal_path_(std::move(personal_path)),
      slots_{{CZECH_DICTIONARY, SpellLanguages::czech, nullptr}, {ENGLISH_DICTIONARY, SpellLanguages::english, nullptr}}
{
}

// The dictionaries go one after the other, as Hunspell needs.
SpellChecker::~SpellChecker() = default;

bool SpellChecker::chosen(const Slot& slot) const
{
    return (static_cast<unsigned>(languages_) & static_cast<unsigned>(slot.language)) != 0;
}

SpellLoadReport SpellChecker::load(SpellLanguages languages)
{
    const std::lock_guard loading(loading_);
    SpellLoadReport report;
    if (!personal_read_) {
        PersonalWords personal = read_personal_dictionary(personal_path_);
        report.personal_error = personal.error;
        report.personal_bad_lines = personal.list.bad_lines;
        const std::lock_guard lock(mutex_);
        personal_read_ = true;
        personal_unreadable_ = personal.error != 0;
        personal_words_.insert(personal_words_.end(), personal.list.words.begin(), personal.list.words.end());
    }
    for (Slot& slot : slots_) {
        if (slot.tried || (static_cast<unsigned>(languages) & static_cast<unsigned>(slot.language)) == 0)
            continue;
        DictionaryFault fault;
        std::unique_ptr<HunspellDictionary> dictionary = HunspellDictionary::load(folder_, slot.name, fault);
        const std::lock_guard lock(mutex_);
        slot.tried = true;
        if (!dictionary) {
            report.dictionaries.push_back({folder_ + L"\\" + std::wstring(slot.name), fault, slot.language});
            continue;
        }
        for (const std::string& word : personal_words_)
            dictionary->add(word);
        slot.dictionary = std::move(dictionary);
        cache_.clear();
    }
    return report;
}

bool SpellChecker::ready() const
{
    const std::lock_guard lock(mutex_);
    for (const Slot& slot : slots_)
        if (slot.dictionary && chosen(slot))
            return true;
    return false;
}

void SpellChecker::choose(SpellLanguages languages)
{
    const std::lock_guard lock(mutex_);
    if (languages_ == languages)
        return;
    languages_ = languages;
    cache_.clear();
}

bool SpellChecker::is_correct(std::string_view word) const
{
    if (ignored_.contains(std::string(word)))
        return true;
    for (const Slot& slot : slots_)
        if (slot.dictionary && chosen(slot) && slot.dictionary->accepts(word))
            return true;
    return false;
}

std::vector<Misspelling> SpellChecker::misspellings(std::string_view post)
{
    const std::lock_guard lock(mutex_);
    bool any = false;
    for (const Slot& slot : slots_)
        any = any || (slot.dictionary && chosen(slot));
    if (!any)
        return {};
    return cache_.misspellings(post, [this](std::string_view word) { return is_correct(word); });
}

std::vector<std::string> SpellChecker::suggestions(std::string_view word, std::size_t most) const
{
    const std::lock_guard lock(mutex_);
    std::vector<std::vector<std::string>> lists;
    for (const Slot& slot : slots_)
        if (slot.dictionary && chosen(slot))
            lists.push_back(slot.dictionary->suggest(word));
    // Each dictionary's best first, in turn, so that a Czech and an English
    // guess both get a place.
    std::vector<std::string> merged;
    for (std::size_t rank = 0; merged.size() < most; ++rank) {
        bool any_left = false;
        for (const std::vector<std::string>& list : lists) {
            if (rank >= list.size())
                continue;
            any_left = true;
            if (merged.size() < most && std::find(merged.begin(), merged.end(), list[rank]) == merged.end())
                merged.push_back(list[rank]);
        }
        if (!any_left)
            break;
    }
    return merged;
}

bool SpellChecker::add_personal_word(std::string_view word)
{
    bool readable = false;
    {
        const std::lock_guard lock(mutex_);
        readable = !personal_unreadable_;
    }
    // A word added to a file that is not read would be lost at the next start all the same.
    const bool stored = readable && add_to_personal_dictionary(personal_path_, word);
    const std::lock_guard lock(mutex_);
    personal_words_.emplace_back(word);
    for (Slot& slot : slots_)
        if (slot.dictionary)
            slot.dictionary->add(word);
    cache_.clear();
    return stored;
}

void SpellChecker::ignore(std::string_view word)
{
    const std::lock_guard lock(mutex_);
    ignored_.emplace(word);
    cache_.clear();
}
