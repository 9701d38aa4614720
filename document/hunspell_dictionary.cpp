#include "document/hunspell_dictionary.h"

#include <windows.h>

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <tuple>

#include "text/spelling/dictionary_counts.h"

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

// The most of an .aff file that is read: Hunspell's own are some 100 KB.
constexpr std::uint64_t LARGEST_AFF_FILE = 16u << 20;
// Enough of a .dic file for its first line, the word count.
constexpr std::uint64_t DIC_START = 256;

// The file's size, and its first `most` bytes.
struct FileStart {
    std::uint64_t size = 0;
    std::string bytes;
};

DictionaryProblem read_start(const std::wstring& path, std::uint64_t most, FileStart& start)
{
    const OwnedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? DictionaryProblem::missing
                                                                              : DictionaryProblem::unreadable;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return DictionaryProblem::unreadable;
    start.size = static_cast<std::uint64_t>(size.QuadPart);
    start.bytes.resize(static_cast<std::size_t>(std::min(start.size, most)));
    DWORD read = 0;
    if (!start.bytes.empty() &&
        !ReadFile(file.get(), start.bytes.data(), static_cast<DWORD>(start.bytes.size()), &read, nullptr))
        return DictionaryProblem::unreadable;
    start.bytes.resize(read);
    return DictionaryProblem::none;
}

// A .dic file starts with the number of its words, no more than the file
// can hold; an .aff file is text whose tables hold what they announce.
DictionaryFault check_files(const std::wstring& aff, const std::wstring& dic)
{
    FileStart aff_file;
    FileStart dic_file;
    for (const auto& [path, most, start] :
         {std::tuple{&aff, LARGEST_AFF_FILE, &aff_file}, std::tuple{&dic, DIC_START, &dic_file}})
        if (const DictionaryProblem problem = read_start(*path, most, *start); problem != DictionaryProblem::none)
            return {problem};
    const std::string dic_line = dic_file.bytes.substr(0, dic_file.bytes.find_first_of("\r\n"));
    const bool counted = !dic_line.empty() && dic_line.find_first_not_of("0123456789") == std::string::npos &&
                         dic_line != "0" && word_count_fits(dic_line, dic_file.size);
    const bool text = aff_file.size <= LARGEST_AFF_FILE && aff_file.bytes.find('\0') == std::string::npos;
    if (!counted || !text)
        return {DictionaryProblem::damaged};
    if (const auto overstated = first_overstated_table(aff_file.bytes))
        return {DictionaryProblem::damaged, overstated->line};
    return {};
}

} // namespace

std::unique_ptr<HunspellDictionary> HunspellDictionary::load(const std::wstring& folder, std::wstring_view name,
                                                             DictionaryFault& fault)
{
    const std::wstring base = folder + L"\\" + std::wstring(name);
    const std::wstring aff = base + L".aff";
    const std::wstring dic = base + L".dic";
    fault = check_files(aff, dic);
    if (fault.problem != DictionaryProblem::none)
        return nullptr;
    const std::string aff_path = ansi_path(aff);
    const std::string dic_path = ansi_path(dic);
    if (aff_path.empty() || dic_path.empty()) {
        fault = {DictionaryProblem::unreadable};
        return nullptr;
    }
    std::unique_ptr<Hunspell> hunspell;
    try {
        hunspell = std::make_unique<Hunspell>(aff_path.c_str(), dic_path.c_str());
    } catch (...) {
        // A damage the checks above do not know of: whatever Hunspell had
        // built of it is lost, the rest of the editor is not.
        fault = {DictionaryProblem::damaged};
        return nullptr;
    }
    const unsigned code_page = code_page_of(hunspell->get_dict_encoding());
    if (code_page == 0) {
        fault = {DictionaryProblem::damaged};
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
