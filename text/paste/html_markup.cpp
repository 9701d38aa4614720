#include "text/paste/html_markup.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "text/paste/markup_writer.h"
#include "text/unicode/unicode_text.h"

namespace {

// What an element does to the text inside it.
enum class Role : std::uint8_t {
    inline_element, // a span, a font, an unknown element: only its style counts
    hidden,         // not shown: scripts, styles, the head, form controls
    paragraph,
    heading,
    quote,
    center,
    list,
    ordered_list,
    item,
    row,
    cell,
    header_cell,
    preformatted, // its white space stands: [code]
    code,         // [code] when it holds more than one line, else its text
    line_break,
    rule,
    picture,
    link,
    bold,
    italic,
    underline,
    strike,
    bigger,
    smaller,
};

struct ElementRole {
    std::string_view name;
    Role role;
};

constexpr ElementRole ELEMENT_ROLES[] = {
    {"a", Role::link},
    {"address", Role::paragraph},
    {"article", Role::paragraph},
    {"aside", Role::paragraph},
    {"audio", Role::hidden},
    {"b", Role::bold},
    {"big", Role::bigger},
    {"blockquote", Role::quote},
    {"body", Role::paragraph},
    {"br", Role::line_break},
    {"button", Role::hidden},
    {"canvas", Role::hidden},
    {"caption", Role::paragraph},
    {"center", Role::center},
    {"cite", Role::italic},
    {"code", Role::code},
    {"datalist", Role::hidden},
    {"dd", Role::paragraph},
    {"del", Role::strike},
    {"details", Role::paragraph},
    {"dfn", Role::italic},
    {"dir", Role::list},
    {"div", Role::paragraph},
    {"dl", Role::paragraph},
    {"dt", Role::paragraph},
    {"em", Role::italic},
    {"fieldset", Role::paragraph},
    {"figcaption", Role::paragraph},
    {"figure", Role::paragraph},
    {"footer", Role::paragraph},
    {"form", Role::paragraph},
    {"h1", Role::heading},
    {"h2", Role::heading},
    {"h3", Role::heading},
    {"h4", Role::heading},
    {"h5", Role::heading},
    {"h6", Role::heading},
    {"head", Role::hidden},
    {"header", Role::paragraph},
    {"hr", Role::rule},
    {"i", Role::italic},
    {"iframe", Role::hidden},
    {"img", Role::picture},
    {"input", Role::hidden},
    {"ins", Role::underline},
    {"kbd", Role::code},
    {"li", Role::item},
    {"listing", Role::preformatted},
    {"main", Role::paragraph},
    {"map", Role::hidden},
    {"math", Role::hidden},
    {"menu", Role::list},
    {"nav", Role::paragraph},
    {"noscript", Role::hidden},
    {"object", Role::hidden},
    {"ol", Role::ordered_list},
    {"option", Role::hidden},
    {"p", Role::paragraph},
    {"plaintext", Role::preformatted},
    {"pre", Role::preformatted},
    {"s", Role::strike},
    {"samp", Role::code},
    {"script", Role::hidden},
    {"section", Role::paragraph},
    {"select", Role::hidden},
    {"small", Role::smaller},
    {"strike", Role::strike},
    {"strong", Role::bold},
    {"style", Role::hidden},
    {"summary", Role::paragraph},
    {"svg", Role::hidden},
    {"table", Role::paragraph},
    {"tbody", Role::paragraph},
    {"td", Role::cell},
    {"template", Role::hidden},
    {"textarea", Role::hidden},
    {"tfoot", Role::paragraph},
    {"th", Role::header_cell},
    {"thead", Role::paragraph},
    {"title", Role::hidden},
    {"tr", Role::row},
    {"tt", Role::code},
    {"u", Role::underline},
    {"ul", Role::list},
    {"var", Role::italic},
    {"video", Role::hidden},
    {"xmp", Role::preformatted},
};

Role role_of(std::string_view name)
{
    const auto found = std::lower_bound(std::begin(ELEMENT_ROLES), std::end(ELEMENT_ROLES), name,
                                        [](const ElementRole& role, std::string_view n) { return role.name < n; });
    return found != std::end(ELEMENT_ROLES) && found->name == name ? found->role : Role::inline_element;
}

bool is_block(Role role)
{
    switch (role) {
    case Role::paragraph:
    case Role::heading:
    case Role::quote:
    case Role::center:
    case Role::list:
    case Role::ordered_list:
    case Role::item:
    case Role::row:
    case Role::preformatted:
        return true;
    default:
        return false;
    }
}

// Pixel sizes of <font size="1"> to "7", and of the CSS size keywords.
constexpr int FONT_SIZES[] = {10, 13, 16, 18, 24, 32, 48};
constexpr double BIGGER = 1.2;
constexpr double SMALLER = 1.0 / 1.2;

struct SizeKeyword {
    std::string_view name;
    int pixels;
};
constexpr SizeKeyword SIZE_KEYWORDS[] = {
    {"xx-small", 9}, {"x-small", 10}, {"small", 13},   {"medium", 16},
    {"large", 18},   {"x-large", 24}, {"xx-large", 32}, {"xxx-large", 48},
};

std::string lower(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string_view trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n\f");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n\f") - first + 1);
}

std::optional<double> leading_number(std::string_view text, std::string_view* unit)
{
    std::size_t at = 0;
    while (at < text.size() && ((text[at] >= '0' && text[at] <= '9') || text[at] == '.'))
        ++at;
    if (at == 0 || at > 12)
        return std::nullopt;
    double value = 0;
    double scale = 0;
    for (std::size_t i = 0; i < at; ++i) {
        if (text[i] == '.') {
            if (scale != 0)
                return std::nullopt;
            scale = 1;
            continue;
        }
        const int digit = text[i] - '0';
        if (scale == 0) {
            value = value * 10 + digit;
        } else {
            scale /= 10;
            value += digit * scale;
        }
    }
    *unit = trim(text.substr(at));
    return value;
}

// A CSS colour: #RGB, #RRGGBB, rgb(), rgba() or a name; nothing for one
// that leaves the colour as it was (inherit, transparent, unknown).
std::optional<std::uint32_t> css_color(std::string_view value)
{
    value = trim(value);
    if (value.starts_with("rgb")) {
        const std::size_t open = value.find('(');
        const std::size_t close = value.find(')');
        if (open == std::string_view::npos || close == std::string_view::npos || close < open)
            return std::nullopt;
        std::string_view rest = value.substr(open + 1, close - open - 1);
        std::uint32_t rgb = 0;
        for (int channel = 0; channel < 4; ++channel) {
            const std::size_t comma = std::min(rest.find_first_of(", /"), rest.size());
            const std::string_view part = trim(rest.substr(0, comma));
            rest = comma < rest.size() ? trim(rest.substr(comma + 1)) : std::string_view();
            std::string_view unit;
            const std::optional<double> number = leading_number(part, &unit);
            if (channel == 3) {
                if (number && *number == 0)
                    return std::nullopt; // fully transparent
                break;
            }
            if (!number)
                return std::nullopt;
            const double scaled = unit == "%" ? *number * 255 / 100 : *number;
            rgb = rgb << 8 | static_cast<std::uint32_t>(std::clamp(std::lround(scaled), 0L, 255L));
            if (rest.empty() && channel < 2)
                return std::nullopt;
        }
        return rgb;
    }
    return color_value_rgb(value);
}

// A CSS font size in pixels, from the parent's.
std::optional<double> css_font_size(std::string_view value, double parent)
{
    for (const SizeKeyword& keyword : SIZE_KEYWORDS)
        if (value == keyword.name)
            return keyword.pixels;
    if (value == "smaller")
        return parent * SMALLER;
    if (value == "larger")
        return parent * BIGGER;
    std::string_view unit;
    const std::optional<double> number = leading_number(value, &unit);
    if (!number)
        return std::nullopt;
    if (unit == "px")
        return *number;
    if (unit == "pt")
        return *number * 4 / 3;
    if (unit == "em" || unit == "rem")
        return *number * (unit == "em" ? parent : 16.0);
    if (unit == "%")
        return *number * parent / 100;
    return std::nullopt;
}

// Characters that would end a tag's value, or its [img] address, early,
// and white space, go into an address percent-encoded; control characters
// not at all.
std::string safe_address(std::string_view address)
{
    std::string safe;
    for (const char c : trim(address)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ' ')
            safe += "%20";
        else if (c == '[')
            safe += "%5B";
        else if (c == ']')
            safe += "%5D";
        else if (byte >= 0x20 && byte != 0x7F)
            safe += c;
    }
    return safe;
}

std::string_view scheme_of(std::string_view address)
{
    std::size_t at = 0;
    while (at < address.size() && ((address[at] >= 'a' && address[at] <= 'z') ||
                                   (address[at] >= 'A' && address[at] <= 'Z') ||
                                   (at > 0 && ((address[at] >= '0' && address[at] <= '9') ||
                                               address[at] == '+' || address[at] == '-' || address[at] == '.'))))
        ++at;
    return at > 0 && at < address.size() && address[at] == ':' ? address.substr(0, at) : std::string_view();
}

bool is_web_address(std::string_view address)
{
    const std::string scheme = lower(scheme_of(address));
    return scheme == "http" || scheme == "https";
}

// A web address for a link or a picture, relative ones taken from the
// page's address; empty for any other kind.
std::string web_address(std::string_view reference, std::string_view page)
{
    reference = trim(reference);
    if (reference.empty() || reference.front() == '#')
        return {};
    if (is_web_address(reference))
        return safe_address(reference);
    if (!scheme_of(reference).empty() || !is_web_address(page) || page.find("//") == std::string_view::npos)
        return {};
    const std::size_t host_start = page.find("//") + 2;
    const std::size_t host_end = std::min(page.find_first_of("/?#", host_start), page.size());
    if (reference.starts_with("//"))
        return safe_address(std::string(page.substr(0, host_start - 2)) + std::string(reference));
    if (reference.front() == '/')
        return safe_address(std::string(page.substr(0, host_end)) + std::string(reference));
    const std::string_view path = page.substr(0, std::min(page.find_first_of("?#", host_end), page.size()));
    const std::size_t slash = path.rfind('/');
    const std::string_view directory = slash >= host_end && slash != std::string_view::npos
                                           ? path.substr(0, slash + 1)
                                           : std::string_view();
    return safe_address(directory.empty() ? std::string(path) + "/" + std::string(reference)
                                          : std::string(directory) + std::string(reference));
}

// The address of a mailto: link, or empty.
std::string mail_address(std::string_view reference)
{
    reference = trim(reference);
    if (lower(scheme_of(reference)) != "mailto")
        return {};
    std::string_view address = reference.substr(7);
    address = address.substr(0, address.find('?'));
    std::string decoded;
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (address[i] == '%' && i + 2 < address.size() && address.substr(i + 1, 2) == "40") {
            decoded += '@';
            i += 2;
        } else {
            decoded += address[i];
        }
    }
    const std::string safe = safe_address(decoded);
    return safe.find('@') != std::string::npos && safe.find('%') == std::string::npos ? safe : std::string();
}

// Word's "<![if !supportLists]>" and "<![endif]>" around what older browsers
// show: the parser would take them for text. What stands between stays.
void drop_conditional_markers(std::string& html)
{
    std::size_t kept = 0;
    for (std::size_t at = 0; at < html.size();) {
        if (html.compare(at, 3, "<![") == 0 &&
            (html.compare(at + 3, 2, "if") == 0 || html.compare(at + 3, 5, "endif") == 0)) {
            const std::size_t end = html.find("]>", at);
            if (end != std::string::npos) {
                at = end + 2;
                continue;
            }
        }
        html[kept++] = html[at++];
    }
    html.resize(kept);
}

struct Element {
    std::string name;
    Role role;
    InlineStyle style;
    double font_pixels;
    bool hidden;
    std::optional<Block> block; // the writer's block it opened
    bool collects_text;         // the <pre> or <code> whose text is collected
};

class HtmlConverter {
public:
    HtmlConverter(std::string_view page, const PasteOptions& options) : page_(page), writer_(options) {}

    HtmlConversion convert(std::string_view html);

private:
    static void on_start(void* self, const xmlChar* name, const xmlChar** attributes)
    {
        static_cast<HtmlConverter*>(self)->start(reinterpret_cast<const char*>(name),
                                                 reinterpret_cast<const char**>(attributes));
    }
    static void on_end(void* self, const xmlChar* name)
    {
        static_cast<HtmlConverter*>(self)->end(reinterpret_cast<const char*>(name));
    }
    static void on_text(void* self, const xmlChar* text, int length)
    {
        static_cast<HtmlConverter*>(self)->text(
            std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length)));
    }

    void start(std::string_view name, const char** attributes);
    void end(std::string_view name);
    void text(std::string_view text);
    void apply_attributes(Element& element, const char** attributes);
    void apply_css(Element& element, std::string_view css, const Element& parent);
    void open(Element& element);
    void close(const Element& element);
    bool collecting() const { return collector_ != std::string::npos; }

    std::string_view page_;
    MarkupWriter writer_;
    htmlParserCtxtPtr parser_ = nullptr;
    std::vector<Element> stack_;
    std::size_t hidden_ = 0;                       // elements open that hide their content
    std::size_t collector_ = std::string::npos;    // the element whose text is collected
    std::string collected_;
    PasteRefusal refusal_ = PasteRefusal::none;
    std::string href_;       // of the element being opened
    std::string picture_;    // the picture's address
    bool centered_ = false;  // the element being opened says so
    std::size_t links_ = 0;
};

void HtmlConverter::apply_css(Element& element, std::string_view css, const Element& parent)
{
    while (!css.empty()) {
        const std::size_t end = std::min(css.find(';'), css.size());
        const std::string_view declaration = css.substr(0, end);
        css = end < css.size() ? css.substr(end + 1) : std::string_view();
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string property = lower(trim(declaration.substr(0, colon)));
        std::string value = lower(trim(declaration.substr(colon + 1)));
        if (const std::size_t important = value.find("!important"); important != std::string::npos)
            value = std::string(trim(std::string_view(value).substr(0, important)));
        if (property == "font-weight") {
            std::string_view unit;
            const std::optional<double> weight = leading_number(value, &unit);
            if (weight)
                element.style.bold = *weight >= 600;
            else if (value == "bold" || value == "bolder")
                element.style.bold = true;
            else if (value == "normal" || value == "lighter")
                element.style.bold = false;
        } else if (property == "font-style") {
            if (value == "italic" || value == "oblique")
                element.style.italic = true;
            else if (value == "normal")
                element.style.italic = false;
        } else if (property == "text-decoration" || property == "text-decoration-line") {
            if (value.find("underline") != std::string::npos)
                element.style.underline = true;
            if (value.find("line-through") != std::string::npos)
                element.style.strike = true;
        } else if (property == "color") {
            if (const auto rgb = css_color(value))
                element.style.color = *rgb;
        } else if (property == "font-size") {
            if (const auto pixels = css_font_size(value, parent.font_pixels))
                element.font_pixels = *pixels;
        } else if (property == "text-align") {
            centered_ = value == "center" || value == "-webkit-center";
        } else if (property == "display") {
            element.hidden = element.hidden || value == "none";
        } else if (property == "visibility") {
            element.hidden = element.hidden || value == "hidden";
        }
    }
}

void HtmlConverter::apply_attributes(Element& element, const char** attributes)
{
    const Element& parent = stack_.empty() ? element : stack_.back();
    for (const char** at = attributes; at && at[0]; at += 2) {
        const std::string_view name = at[0];
        const std::string_view value = at[1] ? at[1] : "";
        if (name == "style") {
            apply_css(element, value, parent);
        } else if (name == "hidden") {
            element.hidden = true;
        } else if (name == "align") {
            centered_ = lower(trim(value)) == "center";
        } else if (name == "href" && element.role == Role::link) {
            href_ = value;
        } else if (name == "src" && element.role == Role::picture) {
            picture_ = web_address(value, page_);
        } else if (name == "color" && element.name == "font") {
            if (const auto rgb = css_color(lower(value)))
                element.style.color = *rgb;
        } else if (name == "size" && element.name == "font") {
            const std::string_view size = trim(value);
            std::string_view unit;
            if (const auto number = leading_number(size.substr(size.starts_with('+') || size.starts_with('-')), &unit)) {
                int index = static_cast<int>(*number);
                if (size.starts_with('+'))
                    index = 3 + index;
                else if (size.starts_with('-'))
                    index = 3 - index;
                element.font_pixels = FONT_SIZES[std::clamp(index, 1, 7) - 1];
            }
        }
    }
}

void HtmlConverter::open(Element& element)
{
    switch (element.role) {
    case Role::line_break:
        if (collecting())
            collected_ += '\n';
        else
            writer_.line_break();
        return;
    case Role::rule:
        if (!collecting())
            writer_.rule();
        return;
    case Role::picture:
        if (!collecting() && !picture_.empty())
            writer_.picture(picture_, element.style);
        return;
    case Role::preformatted:
    case Role::code:
        if (!collecting()) {
            collector_ = stack_.size();
            collected_.clear();
            element.collects_text = true;
        }
        return;
    default:
        break;
    }
    if (collecting()) {
        if (is_block(element.role) && !collected_.empty() && collected_.back() != '\n')
            collected_ += '\n';
        return;
    }
    std::optional<Block> block;
    switch (element.role) {
    case Role::paragraph:
    case Role::heading:
    case Role::row:
        block = centered_ ? Block::center : Block::paragraph;
        break;
    case Role::quote:
        block = Block::quote;
        break;
    case Role::center:
        block = Block::center;
        break;
    case Role::list:
        block = Block::list;
        break;
    case Role::ordered_list:
        block = Block::ordered_list;
        break;
    case Role::item:
        block = Block::item;
        break;
    case Role::cell:
    case Role::header_cell:
        block = Block::cell;
        break;
    default:
        break;
    }
    if (block) {
        writer_.open_block(*block);
        element.block = block;
    }
}

void HtmlConverter::close(const Element& element)
{
    if (element.collects_text) {
        collector_ = std::string::npos;
        std::string_view text = collected_;
        if (!text.empty() && text.front() == '\n') // as a browser drops it
            text.remove_prefix(1);
        if (element.role == Role::preformatted || text.find('\n') != std::string_view::npos)
            writer_.code_block(text);
        else
            writer_.flowing_text(text, element.style);
        collected_.clear();
        return;
    }
    if (collecting()) {
        if (is_block(element.role) && !collected_.empty() && collected_.back() != '\n')
            collected_ += '\n';
        return;
    }
    if (element.block)
        writer_.close_block(*element.block);
}

void HtmlConverter::start(std::string_view name, const char** attributes)
{
    if (stack_.size() >= MAX_PASTED_HTML_DEPTH) {
        refusal_ = PasteRefusal::too_deep;
        xmlStopParser(parser_);
        return;
    }
    Element element{std::string(name), role_of(name), {}, 16.0, false, std::nullopt, false};
    if (!stack_.empty()) {
        element.style = stack_.back().style;
        element.font_pixels = stack_.back().font_pixels;
    }
    href_.clear();
    picture_.clear();
    centered_ = false;
    switch (element.role) {
    case Role::bold:
    case Role::heading:
    case Role::header_cell:
        element.style.bold = true;
        break;
    case Role::italic:
        element.style.italic = true;
        break;
    case Role::underline:
        element.style.underline = true;
        break;
    case Role::strike:
        element.style.strike = true;
        break;
    case Role::bigger:
        element.font_pixels *= BIGGER;
        break;
    case Role::smaller:
        element.font_pixels *= SMALLER;
        break;
    case Role::hidden:
        element.hidden = true;
        break;
    default:
        break;
    }
    if (name == "address")
        element.style.italic = true;
    apply_attributes(element, attributes);
    if (element.role == Role::link && !href_.empty()) {
        element.style.link_number = ++links_;
        if (std::string mail = mail_address(href_); !mail.empty()) {
            element.style.link = std::move(mail);
            element.style.email = true;
        } else if (std::string web = web_address(href_, page_); !web.empty()) {
            element.style.link = std::move(web);
            element.style.email = false;
        }
    }
    element.style.size_px = static_cast<int>(std::lround(element.font_pixels));
    if (element.hidden)
        ++hidden_;
    else if (hidden_ == 0)
        open(element);
    stack_.push_back(std::move(element));
}

void HtmlConverter::end(std::string_view name)
{
    // The parser closes what it opened, innermost first.
    while (!stack_.empty()) {
        Element element = std::move(stack_.back());
        stack_.pop_back();
        if (element.hidden)
            --hidden_;
        else if (hidden_ == 0)
            close(element);
        if (element.name == name)
            break;
    }
}

void HtmlConverter::text(std::string_view text)
{
    if (hidden_ > 0)
        return;
    if (collecting())
        collected_.append(text);
    else
        writer_.flowing_text(text, stack_.empty() ? InlineStyle{} : stack_.back().style);
}

HtmlConversion HtmlConverter::convert(std::string_view html)
{
    HtmlConversion conversion;
    if (html.size() > MAX_PASTED_HTML_BYTES) {
        conversion.refusal = PasteRefusal::too_large;
        return conversion;
    }
    // The parser reads strict UTF-8 without NULs.
    std::size_t replacements = 0;
    std::string bytes = repair_utf8(html, replacements);
    std::erase(bytes, '\0');
    drop_conditional_markers(bytes);

    htmlSAXHandler handler{};
    handler.startElement = on_start;
    handler.endElement = on_end;
    handler.characters = on_text;
    handler.ignorableWhitespace = on_text;
    handler.cdataBlock = on_text;
    parser_ = htmlCreatePushParserCtxt(&handler, this, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8);
    if (!parser_) {
        conversion.refusal = PasteRefusal::too_large;
        return conversion;
    }
    htmlCtxtUseOptions(parser_, HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                                    HTML_PARSE_IGNORE_ENC | HTML_PARSE_RECOVER);
    htmlParseChunk(parser_, bytes.data(), static_cast<int>(bytes.size()), 1);
    htmlFreeParserCtxt(parser_);
    parser_ = nullptr;
    if (refusal_ != PasteRefusal::none) {
        conversion.refusal = refusal_;
        return conversion;
    }
    end("");
    conversion.markup = writer_.finish();
    return conversion;
}

} // namespace

HtmlConversion html_to_markup(std::string_view html, std::string_view page_address, const PasteOptions& options)
{
    std::size_t replacements = 0;
    const std::string page = repair_utf8(page_address, replacements);
    HtmlConverter converter(page, options);
    return converter.convert(html);
}
