// How long each markup command takes on a 60,000-character selection in the
// real rich-edit control, under Wine: the median and the worst of several
// runs, against a budget of one frame (16 ms); how long undoing and redoing
// it take, against 1.2 times the command; and the memory the history holds
// after 1,000 commands on a post of that length.
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "app/main_window_state.h"
#include "editor/editor_text.h"
#include "editor/markup_commands.h"
#include "res/resource_ids.h"

namespace {

constexpr int RUNS = 7;
constexpr double FRAME_MS = 16.0;
constexpr double UNDO_BUDGET = 1.2;
constexpr int HISTORY_COMMANDS = 500;
constexpr int WHOLE_POST_COMMANDS = 100;
constexpr size_t SELECTION_LENGTH = 60000;
// A long post as most people write it, for comparison.
constexpr size_t TYPICAL_LENGTH = 5000;

struct Named {
    WORD id;
    const char* name;
};

// The commands by name; the markup commands not named here (the other
// colour presets and smileys) go by their id.
const Named named_commands[] = {
    {IDM_TAG_BOLD, "bold"},         {IDM_TAG_ITALIC, "italic"},     {IDM_TAG_UNDERLINE, "underline"},
    {IDM_TAG_CODE, "code"},         {IDM_TAG_QUOTE, "quote"},       {IDM_TAG_URL, "url"},
    {IDM_TAG_EMAIL, "email"},       {IDM_TAG_IMAGE, "image"},       {IDM_TAG_SIZE14, "size 14"},
    {IDM_TAG_SIZE22, "size 22"},    {IDM_TAG_SIZE30, "size 30"},    {IDM_TAG_QUESTION, "question"},
    {IDM_TAG_WROTE, "wrote"},       {IDM_TAG_CENTER, "center"},     {IDM_TAG_HR, "rule"},
    {IDM_TAG_POINTS, "points"},     {IDM_COLOR_PRESET_0, "red"},    {IDM_COLOR_PRESET_0 + 4, "bold teal"},
    {IDM_COLOR_PRESET_0 + 8, "italic blue"}, {IDM_SMILEY_FIRST, "smiley"}, {IDM_PLAIN_FONT, "plain"},
    {IDM_TAG_POST_LINK, "post link"}, {IDM_REFLOW, "reflow"},
};

void select_all_of(HWND editor, const std::string& text)
{
    SetWindowTextA(editor, text.c_str());
    CHARRANGE all{0, static_cast<LONG>(text.size())};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
}

double time_message(HWND main_window, WORD id)
{
    const double start = now_ms();
    SendMessageA(main_window, WM_COMMAND, id, 0);
    UpdateWindow(editor_of(main_window));
    return now_ms() - start;
}

double time_command(HWND main_window, const std::string& text, WORD id)
{
    select_all_of(editor_of(main_window), text);
    return time_message(main_window, id);
}

struct StepTimes {
    double command, undo, redo;
};

StepTimes time_step(HWND main_window, const std::string& text, WORD id)
{
    const double command = time_command(main_window, text, id);
    const double undo = time_message(main_window, IDM_EDIT_UNDO);
    const double redo = time_message(main_window, IDM_EDIT_REDO);
    return {command, undo, redo};
}

// What the control itself needs to make the same selection bold: the floor
// under any command that formats what it inserts.
double time_bare_format(HWND editor, const std::string& text)
{
    select_all_of(editor, text);
    CHARFORMAT2A bold{};
    bold.cbSize = sizeof bold;
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    const double start = now_ms();
    SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));
    UpdateWindow(editor);
    return now_ms() - start;
}

// What the control itself needs to give the same selection a command's
// format: every property of it, in the slices the commands format in. This
// much of each command's work is the control's, whatever the editor does.
double time_control_insert_format(HWND editor, const std::string& text)
{
    select_all_of(editor, text);
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CHAR_FORMAT_MASK;
    format.dwEffects = CFE_ITALIC;
    format.bCharSet = EASTEUROPE_CHARSET;
    lstrcpynA(format.szFaceName, "Courier New", LF_FACESIZE);
    format.crBackColor = RGB(255, 255, 255);
    const double start = now_ms();
    set_selection_format_in_slices(editor, format);
    UpdateWindow(editor);
    return now_ms() - start;
}

// What the control itself needs to put the text back in place of a short
// one: the floor under undoing a command that shortened the selection (the
// post link makes a whole selection one short tag).
double time_bare_insert(HWND editor, const std::string& text)
{
    SetWindowTextA(editor, "[url]short[/url]");
    CHARRANGE all{0, GetWindowTextLengthA(editor)};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    const std::u16string units(text.begin(), text.end()); // the sample is ASCII
    SETTEXTEX how{ST_SELECTION, 1200};
    const double start = now_ms();
    SendMessageW(editor, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(units.c_str()));
    UpdateWindow(editor);
    return now_ms() - start;
}

// Every markup command, then the other commands that change a selection.
std::vector<Named> commands_to_time()
{
    static std::vector<std::string> id_names;
    std::vector<Named> commands;
    const auto name_of = [](WORD id) -> const char* {
        for (const Named& named : named_commands)
            if (named.id == id)
                return named.name;
        return nullptr;
    };
    id_names.reserve(markup_commands().size());
    for (const Markup& markup : markup_commands()) {
        const char* name = name_of(markup.id);
        if (!name) {
            id_names.push_back("id " + std::to_string(markup.id));
            name = id_names.back().c_str();
        }
        commands.push_back({markup.id, name});
    }
    for (const Named& named : named_commands)
        if (!find_markup(named.id))
            commands.push_back(named);
    return commands;
}

// Wine leaves the private bytes at 0; the working set is what stays resident.
double resident_mib()
{
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / (1 << 20);
}

} // namespace

// With a command's name as the argument, times only that command.
int main(int argc, char** argv)
{
    const char* only = argc > 1 ? argv[1] : nullptr;
    setvbuf(stdout, nullptr, _IONBF, 0);
    HWND main_window = open_main_window();
    if (!main_window)
        return 1;
    HWND editor = editor_of(main_window);
    const std::string text = plain_post(SELECTION_LENGTH);
    const std::string typical = plain_post(TYPICAL_LENGTH);

    std::vector<double> floor, insert_floor, format_to_bold;
    for (int run = 0; run < RUNS; ++run) {
        floor.push_back(time_bare_format(editor, text));
        format_to_bold.push_back(time_control_insert_format(editor, text) / floor.back());
        insert_floor.push_back(time_bare_insert(editor, text));
    }
    printf("%zu characters selected; the control alone makes them bold in %.2f ms (median)\n", text.size(),
           median_of(floor));
    printf("gives them a command's whole format, in slices as the commands do, in %.2f times that (median, run by run)\n",
           median_of(format_to_bold));
    printf("and puts them in place of a short text in %.2f ms (median)\n\n", median_of(insert_floor));

    printf("%-12s %12s %12s %12s %10s %10s %12s %8s\n", "command", "5,000 med", "60,000 med", "60,000 worst",
           "undo med", "redo med", "undo/redo x", "/ bold");
    double worst_median = 0, worst_overall = 0, worst_ratio = 0;
    std::vector<double> markup_ratios;
    for (const Named& command : commands_to_time()) {
        if (only && std::string(only) != command.name)
            continue;
        std::vector<double> times, typical_times, undos, redos, undo_ratios, redo_ratios, bold_ratios;
        for (int run = 0; run < RUNS; ++run) {
            // The control's own bold right before, so that the load on the
            // machine, which changes from second to second, is the same for both.
            const double bold = time_bare_format(editor_of(main_window), text);
            const StepTimes step = time_step(main_window, text, command.id);
            times.push_back(step.command);
            bold_ratios.push_back(step.command / bold);
            undos.push_back(step.undo);
            redos.push_back(step.redo);
            // Within one run, so that the machine's drift from run to run cancels.
            undo_ratios.push_back(step.undo / step.command);
            redo_ratios.push_back(step.redo / step.command);
            typical_times.push_back(time_command(main_window, typical, command.id));
        }
        const double median = median_of(times);
        const double worst = *std::max_element(times.begin(), times.end());
        const double ratio = std::max(median_of(undo_ratios), median_of(redo_ratios));
        printf("%-12s %12.2f %12.2f %12.2f %10.2f %10.2f %12.2f %8.2f\n", command.name, median_of(typical_times),
               median, worst, median_of(undos), median_of(redos), ratio, median_of(bold_ratios));
        if (find_markup(command.id))
            markup_ratios.push_back(median_of(bold_ratios));
        worst_median = std::max(worst_median, median);
        worst_overall = std::max(worst_overall, worst);
        worst_ratio = std::max(worst_ratio, ratio);
    }
    if (!markup_ratios.empty()) {
        const double ratio_to_bold = median_of(markup_ratios);
        printf("goal: median over the %zu markup commands of each against the control's own bold in the same runs: "
               "%.2f (at most 1.0: %s)\n",
               markup_ratios.size(), ratio_to_bold, ratio_to_bold <= 1.0 ? "met" : "not met");
        printf("ratio: a markup command on a 60,000-character selection (median of %zu), editor / the control's own "
               "bold: %.2f\n",
               markup_ratios.size(), ratio_to_bold);
    }
    printf("60,000 characters: slowest median %.2f ms, worst single run %.2f ms; budget %.0f ms: %s\n",
           worst_median, worst_overall, FRAME_MS, worst_median < FRAME_MS ? "within" : "over");
    printf("undo and redo: at most %.2f times the command (median over the runs); budget %.1f: %s\n\n", worst_ratio,
           UNDO_BUDGET, worst_ratio <= UNDO_BUDGET ? "within" : "over");

    if (only)
        return 0;
    editor = editor_of(main_window);

    // The history after 500 commands on short selections in formats that
    // vary, and after commands each on the whole post (the text kept in
    // place), fewer of them: each costs as much as the post is long.
    for (const auto& [commands, whole] : {std::pair{HISTORY_COMMANDS, false}, std::pair{WHOLE_POST_COMMANDS, true}}) {
        SetWindowTextA(editor, text.c_str());
        const double resident_before = resident_mib();
        const double start = now_ms();
        for (int i = 0; i < commands; ++i) {
            const LONG first = whole ? 0 : static_cast<LONG>((i * 7919) % (text.size() - 200));
            CHARRANGE range{first, whole ? GetWindowTextLengthA(editor) : first + 100};
            SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
            WORD id = named_commands[static_cast<size_t>(i) % std::size(named_commands)].id;
            // The post link stops at a message box on anything but an address.
            if (id == IDM_TAG_POST_LINK)
                id = IDM_TAG_BOLD;
            SendMessageA(main_window, WM_COMMAND, id, 0);
        }
        const EditRecorder& history = main_window_state(main_window)->history;
        const double growth = resident_mib() - resident_before;
        printf("history after %d commands on %s: %.2f MiB (%.0f s); resident memory grew by %.1f MiB%s\n", commands,
               whole ? "the whole post" : "short selections", static_cast<double>(history.memory_bytes()) / (1 << 20),
               (now_ms() - start) / 1000, growth,
               whole ? "" : growth <= 64 ? " (goal at most 64: met)" : " (goal at most 64: not met)");
    }
    DestroyWindow(main_window);
    return 0;
}
