#include "document/hunspell_dictionary.h"

#include <windows.h>

#include <hunspell/hunspell.hxx>

#include <cctype>
#include <cstdlib>

#include "win/win_handles.h"

namespace {

// The Windows code page of a dictionary's "SET" encoding; 0 when unknown.
unsigned code_page_of(std::string encoding)
{
    for (char& c : encoding)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    if (encoding == "UTF-8")
        return CP_UTF8;
    if (encoding.starts_with("ISO8859-") || encoding.starts_with("ISO-8859-")) {
        const int part = atoi(encoding.c_str() + encoding.rfind('-') + 1);
        return part >= 1 && part <= 15 ? 28590u + static_cast<unsigned>(part) : 0u;
    }
    if (encoding.starts_with("MICROSOFT-CP125"))
        return 1250u + static_cast<unsigned>(encoding.back() - '0');
    if (encoding == "KOI8-R")
        return 20866;
    return 0;
}

std::wstring converted(UINT from, std::string_view text)
{
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

// Empty when a character has no place in the code page.
std::string converted(UINT to, std::wstring_view text)
{
    const int size = static_cast<int>(text.size());
    BOOL lost = FALSE;
    BOOL* lost_flag = to == CP_UTF8 ? nullptr : &lost;
    const DWORD flags = to == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int length = WideCharToMultiByte(to, flags, text.data(), size, nullptr, 0, nullptr, lost_flag);
    if (length <= 0 || lost)
        return {};
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(to, flags, text.data(), size, bytes.data(), length, nullptr, lost_flag);
    return bytes;
}

// Hunspell opens its files through the ANSI file functions: a path it can
// open is one that the ANSI code page spells, as the short (8.3) form of
// the path most often is. Empty when there is none.
std::string ansi_path(const std::wstring& path)
{
    std::wstring usable = path;
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length > 0) {
        std::wstring short_path(length, L'\0');
        const DWORD written = GetShortPathNameW(path.c_str(), short_path.data(), length);
        if (written > 0 && written < length) {
            short_path.resize(written);
            usable = short_path;
        }
    }
    std::string ansi = converted(CP_ACP, usable);
    return converted(CP_ACP, std::string_view(ansi)) == usable ? ansi : std::string();
}

// The file can be opened and read; its first line, read here too.
DictionaryProblem first_line_of(const std::wstring& path, std::string& line)
{
    const OwnedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? DictionaryProblem::missing
                                                                              : DictionaryProblem::unreadable;
    }
    char start[256]{};
    DWORD read = 0;
    if (!ReadFile(file.get(), start, sizeof start, &read, nullptr))
        return DictionaryProblem::unreadable;
    line.assign(start, read);
    line = line.substr(0, line.find_first_of("\r\n"));
    return DictionaryProblem::none;
}

// A .dic file starts with the number of its words; an .aff file is text.
DictionaryProblem check_files(const std::wstring& aff, const std::wstring& dic)
{
    std::string aff_line;
    std::string dic_line;
    for (const auto& [path, line] : {std::pair{&aff, &aff_line}, std::pair{&dic, &dic_line}})
        if (const DictionaryProblem problem = first_line_of(*path, *line); problem != DictionaryProblem::none)
            return problem;
    const bool counted = !dic_line.empty() && dic_line.find_first_not_of("0123456789") == std::string::npos &&
                         dic_line != "0";
    const bool text = aff_line.find('\0') == std::string::npos;
    return counted && text ? DictionaryProblem::none : DictionaryProblem::damaged;
}

} // namespace

std::unique_ptr<HunspellDictionary> HunspellDictionary::load(const std::wstring& folder, std::wstring_view name,
                                                             DictionaryProblem& problem)
{
    const std::wstring base = folder + L"\\" + std::wstring(name);
    const std::wstring aff = base + L".aff";
    const std::wstring dic = base + L".dic";
    problem = check_files(aff, dic);
    if (problem != DictionaryProblem::none)
        return nullptr;
    const std::string aff_path = ansi_path(aff);
    const std::string dic_path = ansi_path(dic);
    if (aff_path.empty() || dic_path.empty()) {
        problem = DictionaryProblem::unreadable;
        return nullptr;
    }
    auto hunspell = std::make_unique<Hunspell>(aff_path.c_str(), dic_path.c_str());
    const unsigned code_page = code_page_of(hunspell->get_dict_encoding());
    if (code_page == 0) {
        problem = DictionaryProblem::damaged;
        return nullptr;
    }
    return std::unique_ptr<HunspellDictionary>(new HunspellDictionary(std::move(hunspell), code_page));
}

HunspellDictionary::HunspellDictionary(std::unique_ptr<Hunspell> hunspell, unsigned code_page)
    : hunspell_(std::move(hunspell)), code_page_(code_page)
{
}

HunspellDictionary::~HunspellDictionary() = default;

std::string HunspellDictionary::encoded(std::string_view word) const
{
    if (code_page_ == CP_UTF8)
        return std::string(word);
    return converted(code_page_, converted(CP_UTF8, word));
}

std::string HunspellDictionary::decoded(const std::string& word) const
{
    if (code_page_ == CP_UTF8)
        return word;
    return converted(CP_UTF8, converted(code_page_, std::string_view(word)));
}

bool HunspellDictionary::accepts(std::string_view word) const
{
    const std::string spelt = encoded(word);
    return !spelt.empty() && hunspell_->spell(spelt);
}

std::vector<std::string> HunspellDictionary::suggest(std::string_view word) const
{
    const std::string spelt = encoded(word);
    std::vector<std::string> suggestions;
    if (spelt.empty())
        return suggestions;
    for (const std::string& suggestion : hunspell_->suggest(spelt))
        if (std::string utf8 = decoded(suggestion); !utf8.empty())
            suggestions.push_back(std::move(utf8));
    return suggestions;
}

void HunspellDictionary::add(std::string_view word)
{
    if (const std::string spelt = encoded(word); !spelt.empty())
        hunspell_->add(spelt);
}
