// The print target, the printer properties command and printing, through
// the test rig's CUPS server and its PDF printer: what is printed is read
// back from the PDF files that the printer writes.
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <set>
#include <sstream>

#include "app/main_window_state.h"
#include "res/resource_ids.h"
#include "document/printing.h"
#include "res/resource_ids.h"

namespace {

constexpr int TEXT_FILTER = 2;
constexpr DWORD PDF_TIMEOUT_MS = 60000;
constexpr double POINTS_PER_INCH = 72.0;

std::string default_printer()
{
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    std::string name(size, '\0');
    if (size == 0 || !GetDefaultPrinterA(name.data(), &size))
        return {};
    name.resize(size - 1);
    return name;
}

// Something no other test or run prints, to find this test's PDF by.
std::string unique_mark()
{
    return "mark" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount());
}

std::string field(const std::string& report, const std::string& name)
{
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(name + ":", 0) == 0) {
            const auto value = line.find_first_not_of(' ', name.size() + 1);
            return value == std::string::npos ? "" : line.substr(value);
        }
    }
    return {};
}

struct PrintedPdf {
    std::string path; // DOS path, to delete it
    std::string unix_name;
    std::string title;
    int pages = 0;
    std::vector<std::string> page_texts;
};

std::string pdf_folder()
{
    std::string folder = environment_variable("FORUM_PDF_DIR");
    if (folder.empty()) {
        const auto home = run_unix_command("printf %s $HOME/PDF");
        folder = home ? home->output : "";
    }
    return folder;
}

// Each PDF by its name and the time it was last written: runs side by side
// share the folder, and a job of another run may write a file of the same
// name again.
using PdfVersion = std::pair<std::string, ULONGLONG>;

std::set<PdfVersion> pdf_files(const std::string& dos_folder)
{
    std::set<PdfVersion> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((dos_folder + "\\*.pdf").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert({entry.cFileName, (ULONGLONG{entry.ftLastWriteTime.dwHighDateTime} << 32) |
                                           entry.ftLastWriteTime.dwLowDateTime});
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

std::vector<std::string> split_pages(const std::string& text)
{
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\f', start)) != std::string::npos; start = end + 1)
        pages.push_back(text.substr(start, end - start));
    return pages;
}

// Reads a PDF once the printer has finished it; empty while it is unfinished.
std::optional<PrintedPdf> read_pdf(const std::string& dos_folder, const std::string& unix_folder,
                                   const std::string& name)
{
    PrintedPdf pdf;
    pdf.path = dos_folder + "\\" + name;
    pdf.unix_name = unix_folder + "/" + name;
    const auto info = run_unix_command("pdfinfo '" + pdf.unix_name + "'");
    if (!info || info->exit_code != 0)
        return std::nullopt;
    const auto text = run_unix_command("pdftotext '" + pdf.unix_name + "' -");
    if (!text || text->exit_code != 0)
        return std::nullopt;
    pdf.title = field(info->output, "Title");
    pdf.pages = std::atoi(field(info->output, "Pages").c_str());
    pdf.page_texts = split_pages(text->output);
    return pdf;
}

class PrintingTest : public EditorTest {
protected:
    void SetUp() override
    {
        if (default_printer().empty())
            GTEST_SKIP() << "no default printer: tools/test-env.sh sets up the CUPS PDF printer";
        EditorTest::SetUp();
        // Start-up lays the lines out for the printer once the window is idle.
        pump_until([&] { return static_cast<bool>(state().parts.print_target.dc); });
        unix_pdf_folder = pdf_folder();
        dos_pdf_folder = dos_path(unix_pdf_folder);
        before = pdf_files(dos_pdf_folder);
    }

    // The PDFs go, unless the test failed and there is a place to keep them.
    void TearDown() override
    {
        const std::string artifacts = dos_path(environment_variable("FORUM_TEST_ARTIFACTS"));
        const bool keep = (HasFailure() || !environment_variable("FORUM_KEEP_PDFS").empty()) && !artifacts.empty();
        for (const auto& path : printed) {
            const std::string kept = artifacts + path.substr(path.find_last_of('\\'));
            if (!keep || !MoveFileExA(path.c_str(), kept.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING))
                DeleteFileA(path.c_str());
        }
        EditorTest::TearDown();
    }

    // The PDF of the job that holds `mark`, once the printer has written it.
    std::optional<PrintedPdf> wait_for_pdf(const std::string& mark)
    {
        std::set<PdfVersion> foreign;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < PDF_TIMEOUT_MS) {
            for (const auto& version : pdf_files(dos_pdf_folder)) {
                if (before.count(version) || foreign.count(version))
                    continue;
                auto pdf = read_pdf(dos_pdf_folder, unix_pdf_folder, version.first);
                if (!pdf)
                    continue;
                bool ours = false;
                for (const auto& page : pdf->page_texts)
                    ours = ours || page.find(mark) != std::string::npos;
                if (!ours) {
                    foreign.insert(version);
                    continue;
                }
                printed.push_back(pdf->path);
                return pdf;
            }
            Sleep(250);
        }
        return std::nullopt;
    }

    std::string unix_pdf_folder;
    std::string dos_pdf_folder;
    std::set<PdfVersion> before;
    std::vector<std::string> printed;
};

// Records what the Editor control is told about its target device.
struct TargetDeviceCall {
    WPARAM dc;
    LPARAM width;
};
std::vector<TargetDeviceCall> g_target_calls;
WNDPROC g_editor_proc = nullptr;

LRESULT CALLBACK recording_editor_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == EM_SETTARGETDEVICE)
        g_target_calls.push_back({wparam, lparam});
    return CallWindowProcA(g_editor_proc, window, message, wparam, lparam);
}

struct TargetDeviceRecorder {
    HWND editor;
    explicit TargetDeviceRecorder(HWND watched) : editor(watched)
    {
        g_target_calls.clear();
        g_editor_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recording_editor_proc)));
    }
    ~TargetDeviceRecorder()
    {
        if (IsWindow(editor))
            SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editor_proc));
    }
};

int page_width_twips(HDC dc)
{
    return MulDiv(GetDeviceCaps(dc, PHYSICALWIDTH), 1440, GetDeviceCaps(dc, LOGPIXELSX));
}

// Fills the editor with one long paragraph and says how many lines the
// control made of it.
LONG line_count_of_long_paragraph(HWND editor)
{
    std::string words;
    for (int i = 0; i < 120; ++i)
        words += "word ";
    SetWindowTextA(editor, words.c_str());
    return static_cast<LONG>(SendMessageA(editor, EM_GETLINECOUNT, 0, 0));
}

// Lays the Editor control's lines out for the printer, as start-up and
// Printer setup do.
bool lay_out_for_printer(HWND editor, MainWindowState& main_state)
{
    return set_print_target(editor, main_state.parts.print_target,
                            main_state.parts.editor_subclass.lines_at_printer_width);
}

std::string numbered_line(int number, const std::string& mark)
{
    char line[64];
    std::snprintf(line, sizeof line, "Line %03d ", number);
    return line + mark;
}

} // namespace

TEST_F(PrintingTest, PrintTargetIsThePageWidthLessTwoInches)
{
    HDC dc = CreateDCA(nullptr, default_printer().c_str(), nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    const int expected_width = page_width_twips(dc) - 2880;
    DeleteDC(dc);

    // Wider than the page, so that the two layouts differ.
    MoveWindow(main_window, 0, 0, 1500, 650, TRUE);
    pump_messages();
    {
        TargetDeviceRecorder recorder(editor);
        lay_out_for_printer(editor, state());
        ASSERT_EQ(g_target_calls.size(), 1u);
        EXPECT_EQ(g_target_calls[0].width, expected_width);
        EXPECT_EQ(reinterpret_cast<HDC>(g_target_calls[0].dc), state().parts.print_target.dc.get());
        EXPECT_EQ(GetObjectType(state().parts.print_target.dc.get()), static_cast<DWORD>(OBJ_DC));
    }
    const LONG printer_lines = line_count_of_long_paragraph(editor);

    // A key released in the editor goes back to the window's width.
    SendMessageW(editor, WM_KEYUP, VK_SPACE, 0xC0000001);
    const LONG window_lines = line_count_of_long_paragraph(editor);
    EXPECT_GT(printer_lines, window_lines);
}

// After Printer setup the lines are laid out for the page until the first
// key release; the releases after it leave the layout alone, since each
// would make the control re-wrap the whole document.
TEST_F(PrintingTest, PrinterSetupLayoutLastsUntilOneKeyRelease)
{
    // Wider than the page, so that the two layouts differ.
    MoveWindow(main_window, 0, 0, 1500, 650, TRUE);
    pump_messages();
    SendMessageW(editor, WM_KEYUP, VK_SPACE, 0xC0000001);
    const LONG window_lines = line_count_of_long_paragraph(editor);

    without_dialogs([&] { SendMessageW(main_window, WM_COMMAND, IDM_FILE_PRINTSETUP, 0); });
    EXPECT_GT(line_count_of_long_paragraph(editor), window_lines);

    SendMessageW(editor, WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(line_count_of_long_paragraph(editor), window_lines);
    TargetDeviceRecorder recorder(editor);
    SendMessageW(editor, WM_KEYUP, 'A', 0xC0000001);
    EXPECT_TRUE(g_target_calls.empty());
}

// Printing lays out pages on the printer's DC; the lines on screen keep, or
// get back on the next key, the window's width.
TEST_F(PrintingTest, TheLayoutReturnsToTheWindowsWidthAfterPrint)
{
    MoveWindow(main_window, 0, 0, 1500, 650, TRUE);
    pump_messages();
    SendMessageW(editor, WM_KEYUP, VK_SPACE, 0xC0000001);
    const LONG window_lines = line_count_of_long_paragraph(editor);

    without_dialogs([&] { SendMessageW(main_window, WM_COMMAND, IDM_FILE_PRINT, 0); });
    SendMessageW(editor, WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(line_count_of_long_paragraph(editor), window_lines);
}

TEST_F(PrintingTest, AReplacedTargetDcIsReleased)
{
    HDC first = state().parts.print_target.dc.get();
    ASSERT_NE(first, nullptr) << "start-up sets the print target";
    lay_out_for_printer(editor, state());
    HDC second = state().parts.print_target.dc.get();
    EXPECT_NE(second, first);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_DC));

    without_dialogs([&] { SendMessageA(main_window, WM_CLOSE, 0, 0); });
    EXPECT_EQ(GetObjectType(second), 0u);
}

// Wine has no printer properties sheet: the command shows nothing there, and
// the print target is set again from a new DC, as after any sheet.
TEST_F(PrintingTest, PrinterPropertiesThenANewPrintTarget)
{
    HDC before_sheet = state().parts.print_target.dc.get();
    without_dialogs([&] {
        EXPECT_EQ(show_printer_properties(editor), 0);
        lay_out_for_printer(editor, state());
    });
    EXPECT_NE(state().parts.print_target.dc.get(), before_sheet);
    EXPECT_EQ(GetObjectType(state().parts.print_target.dc.get()), static_cast<DWORD>(OBJ_DC));
}

TEST_F(PrintingTest, PrintsEveryPageInOrderInsideTheMargins)
{
    const std::string mark = unique_mark();
    std::string document;
    for (int number = 1; number <= 150; ++number) {
        document += numbered_line(number, mark) + "\r\n";
        if (number == 75) {
            for (int i = 0; i < 60; ++i)
                document += "wrapped ";
            document += "\r\n";
        }
    }
    set_text(document);

    without_dialogs([&] { print_document(editor, print_job_name(state().document.name)); });
    const auto pdf = wait_for_pdf(mark);
    ASSERT_TRUE(pdf.has_value()) << "no PDF with " << mark << " in " << unix_pdf_folder;
    EXPECT_EQ(pdf->title, "No Title");
    EXPECT_EQ(pdf->pages, 3);
    ASSERT_EQ(pdf->page_texts.size(), 3u);

    // Every line, once, in order, and the pages follow on from each other.
    int expected = 1;
    for (std::size_t page = 0; page < pdf->page_texts.size(); ++page) {
        const std::string& text = pdf->page_texts[page];
        std::size_t from = 0;
        int on_this_page = 0;
        for (;;) {
            const auto at = text.find(numbered_line(expected, mark), from);
            if (at == std::string::npos)
                break;
            from = at + 1;
            ++expected;
            ++on_this_page;
        }
        EXPECT_GT(on_this_page, 0) << "page " << page + 1;
    }
    EXPECT_EQ(expected, 151) << "line " << expected << " is missing or out of order";

    // Every word lies inside the one-inch margins of the paper.
    const auto boxes = run_unix_command("pdftotext -bbox '" + pdf->unix_name + "' -");
    ASSERT_TRUE(boxes && boxes->exit_code == 0);
    double page_width = 0, page_height = 0;
    int words = 0;
    std::istringstream lines(boxes->output);
    for (std::string line; std::getline(lines, line);) {
        double x_min, y_min, x_max, y_max;
        if (std::sscanf(line.c_str(), " <page width=\"%lf\" height=\"%lf\"", &page_width, &page_height) == 2)
            continue;
        if (std::sscanf(line.c_str(), " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"", &x_min, &y_min,
                        &x_max, &y_max) != 4)
            continue;
        ++words;
        const double slack = 1.0;
        EXPECT_GE(x_min, POINTS_PER_INCH - slack) << line;
        EXPECT_GE(y_min, POINTS_PER_INCH - slack) << line;
        EXPECT_LE(x_max, page_width - POINTS_PER_INCH + slack) << line;
        EXPECT_LE(y_max, page_height - POINTS_PER_INCH + slack) << line;
    }
    EXPECT_GT(words, 450);
}

TEST_F(PrintingTest, PrintJobCarriesTheFileTitle)
{
    const std::string mark = unique_mark();
    ScratchFolder folder;
    const std::string name = "post " + mark + ".txt";
    ASSERT_TRUE(write_file_bytes(folder.file(name), "A post to print, " + mark + "\r\n"));
    with_dialogs([&] { fill_file_dialog("Open", folder.file(name), TEXT_FILTER, IDOK); },
                 [&] { SendMessageA(main_window, WM_COMMAND, IDM_FILE_OPEN, 0); });
    char file_title[MAX_PATH]{};
    ASSERT_EQ(GetFileTitleA(folder.file(name).c_str(), file_title, sizeof file_title), 0);

    without_dialogs([&] { print_document(editor, print_job_name(state().document.name)); });
    const auto pdf = wait_for_pdf(mark);
    ASSERT_TRUE(pdf.has_value()) << "no PDF with " << mark << " in " << unix_pdf_folder;
    EXPECT_EQ(pdf->title, file_title);
    EXPECT_EQ(pdf->pages, 1);
}

// Runs in its own ctest entry, with a default printer whose name does not fit
// a fixed-size printer record (FORUM_EXPECT_DEFAULT_PRINTER names it).
class LongPrinterNameTest : public PrintingTest {
protected:
    void SetUp() override
    {
        expected_printer = environment_variable("FORUM_EXPECT_DEFAULT_PRINTER");
        if (expected_printer.empty())
            GTEST_SKIP() << "needs a default printer with a long name; runs in its own ctest entry";
        ASSERT_EQ(default_printer(), expected_printer);
        ASSERT_GT(expected_printer.size(), 60u);
        PrintingTest::SetUp();
    }

    std::string expected_printer;
};

TEST_F(LongPrinterNameTest, LaysOutForItAndPrintsOnIt)
{
    EXPECT_NE(state().parts.print_target.dc.get(), nullptr);
    const std::string mark = unique_mark();
    set_text("Printed on a printer with a long name, " + mark);
    without_dialogs([&] { print_document(editor, print_job_name(state().document.name)); });
    const auto pdf = wait_for_pdf(mark);
    ASSERT_TRUE(pdf.has_value()) << "no PDF with " << mark << " in " << unix_pdf_folder;
    EXPECT_EQ(pdf->pages, 1);
}

// Runs in its own ctest entry, in a Wine prefix that sees no printer
// (FORUM_EXPECT_NO_PRINTER=1); skipped where a printer is configured.
class NoPrinterTest : public EditorTest {
protected:
    void SetUp() override
    {
        if (!default_printer().empty()) {
            if (!environment_variable("FORUM_EXPECT_NO_PRINTER").empty())
                FAIL() << "this run should see no printer, but Wine reports \"" << default_printer() << "\"";
            GTEST_SKIP() << "a printer is configured; runs in its own ctest entry without one";
        }
        EditorTest::SetUp();
    }
};

TEST_F(NoPrinterTest, StartUpShowsNothingAndKeepsWrappingAtTheWindowEdge)
{
    without_dialogs([&] { recreate_main_window(SW_SHOWNORMAL); });
    EXPECT_EQ(state().parts.print_target.dc.get(), nullptr);

    // A page is narrower than this window: no line is broken at a page's
    // width, however wide the window.
    MoveWindow(main_window, 0, 0, 1500, 650, TRUE);
    pump_messages();
    const LONG lines_now = line_count_of_long_paragraph(editor);
    SendMessageW(editor, WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_LE(lines_now, line_count_of_long_paragraph(editor));
}

TEST_F(NoPrinterTest, PrintShowsError)
{
    set_text("nothing to print it on");
    MessageBoxSeen seen;
    with_dialogs([&] { seen = answer_message_box("Error", IDOK); }, [&] { print_document(editor, print_job_name(state().document.name)); });
    EXPECT_EQ(seen.text, "Error");
}

TEST_F(NoPrinterTest, PrinterPropertiesShowNothing)
{
    without_dialogs([&] {
        EXPECT_EQ(show_printer_properties(editor), 0);
        lay_out_for_printer(editor, state());
    });
    EXPECT_EQ(state().parts.print_target.dc.get(), nullptr);
}
