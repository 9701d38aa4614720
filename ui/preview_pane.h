// The live preview: a read-only rich-edit control beside the Editor control
// that shows the post as the forum will. Filling a rich-edit control with a
// long document takes Wine's control a good part of a second, so the pane
// replaces only the paragraphs that changed, a few at a time: typing never
// waits long for it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "text/preview/preview_rtf.h"

struct PreviewPane {
    HWND window = nullptr;
    // The pictures of the editor's own smileys, from its resources, and the
    // labels in the language of the interface.
    PreviewOptions options;
    // What the control shows: each paragraph ends with a line break, and an
    // empty last paragraph stays behind them all, so that every paragraph
    // can be replaced with the break that ends it. The head is the one the
    // paragraphs were written with (their colour numbers depend on it).
    std::string shown_head;
    std::vector<std::string> shown;
    std::vector<LONG> shown_lengths; // positions of each, its line break included
    PreviewParagraphs wanted;
};

// Creates the control, hidden, as a child of the Main window, and loads
// the smileys' pictures. Returns false when the control was not created.
bool create_preview_pane(HWND main_window, PreviewPane& pane);

// Takes the labels of the interface's language, for what it renders next.
void label_preview(PreviewPane& pane);

// What the pane is to show from now on.
void set_preview_wanted(PreviewPane& pane, PreviewParagraphs wanted);

// Bytes of RTF removed and written in one step: some 10 ms in Wine's
// control, which needs about 1.3 ms for each 1,000 characters replaced.
inline constexpr size_t PREVIEW_STEP_BUDGET = 6000;

// Takes one step towards it, of about `budget` bytes (at least one
// paragraph); true once the pane shows what is wanted.
bool update_preview_step(PreviewPane& pane, size_t budget = PREVIEW_STEP_BUDGET);
