#include "text/files/device_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace {

constexpr std::array RESERVED_NAMES{std::string_view{"CON"},  std::string_view{"PRN"},
                                    std::string_view{"AUX"},  std::string_view{"NUL"},
                                    std::string_view{"CONIN$"}, std::string_view{"CONOUT$"}};

// "\\?\C:\..." and "\\?\UNC\..." are files in their long form; anything
// else after "\\?\" or "\\.\" is a device.
bool in_device_namespace(std::string_view path)
{
    if (path.starts_with("\\\\.\\"))
        return true;
    if (!path.starts_with("\\\\?\\"))
        return false;
    const std::string_view rest = path.substr(4);
    const bool drive = rest.size() >= 2 && std::isalpha(static_cast<unsigned char>(rest[0])) && rest[1] == ':';
    std::string prefix(rest.substr(0, 4));
    std::transform(prefix.begin(), prefix.end(), prefix.begin(), [](unsigned char c) { return std::toupper(c); });
    return !drive && prefix != "UNC\\";
}

// The last name of the path as Windows matches it against the devices:
// without its extension and the spaces and colon after it, in capitals.
std::string device_part(std::string_view path)
{
    // With no separator, npos + 1 is the start.
    std::string_view name = path.substr(path.find_last_of("\\/") + 1);
    name = name.substr(0, std::min(name.find('.'), name.find(':')));
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    std::string part(name);
    std::transform(part.begin(), part.end(), part.begin(), [](unsigned char c) { return std::toupper(c); });
    return part;
}

bool is_numbered_port(const std::string& part)
{
    return part.size() == 4 && (part.starts_with("COM") || part.starts_with("LPT")) && part[3] >= '1' &&
           part[3] <= '9';
}

} // namespace

bool names_a_device(std::string_view path)
{
    if (in_device_namespace(path))
        return true;
    const std::string part = device_part(path);
    return is_numbered_port(part) || std::find(RESERVED_NAMES.begin(), RESERVED_NAMES.end(), part) != RESERVED_NAMES.end();
}
