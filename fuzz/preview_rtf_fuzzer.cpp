// The preview of any post is a sound RTF document: ASCII, groups balanced
// and no deeper than the header's plus a picture's, and no more than a fixed
// number of bytes per byte of the post. Cut into paragraphs that stand
// alone, it is sound too and shows the same text.
#include "text/preview/preview_rtf.h"
#include "rtf_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const PreviewOptions& options()
{
    static const PreviewOptions with_pictures = [] {
        PreviewOptions options;
        // Labels with what the writer must escape.
        options.labels = {"Citace:", "%1 napsal(a) {\\}:", "Kód:", "[obrázek: %1]"};
        options.pictures["x"] = "{\\pict\\pngblip 00}";
        options.pictures["y"] = "{\\pict}}"; // broken: must not be used
        return options;
    }();
    return with_pictures;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string post(reinterpret_cast<const char*>(data), size);
    const std::string document = render_preview_rtf(post, options());
    const rtf::Shape shape = rtf::shape_of(document);
    if (!shape.balanced || !shape.ascii || shape.depth > 3 || document.size() > 80 * size + 200) {
        std::fprintf(stderr, "unsound preview for %zu bytes of input: %zu bytes, depth %zu\n", size, document.size(),
                     shape.depth);
        std::abort();
    }

    const PreviewParagraphs paragraphs = render_preview_paragraphs(post, options());
    const std::string joined = preview_paragraphs_document(paragraphs, 0, paragraphs.paragraphs.size());
    const rtf::Shape joined_shape = rtf::shape_of(joined);
    if (!joined_shape.balanced || !joined_shape.ascii || joined_shape.depth > 3 ||
        rtf::visible_text(joined) != rtf::visible_text(document) + "\n") {
        std::fprintf(stderr, "paragraphs unlike the document for %zu bytes of input\n", size);
        std::abort();
    }
    return 0;
}
