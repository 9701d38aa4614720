#include "ui/refusal_texts.h"

#include "res/resource_ids.h"
#include "ui/status_bar.h"
#include "win/messages.h"

std::string rtf_refusal_text(const RtfScan& scan)
{
    const std::string offset = locale_number(scan.offset);
    switch (scan.verdict) {
    case RtfVerdict::ok:
        break;
    case RtfVerdict::too_deep:
        return format_program_text(IDS_RTF_TOO_DEEP, {std::to_string(MAX_GROUP_DEPTH), offset});
    case RtfVerdict::bin_too_large:
        return format_program_text(IDS_RTF_BIN_TOO_LARGE, {std::to_string(MAX_BIN_BYTES / (1024 * 1024)), offset});
    case RtfVerdict::bin_truncated:
        return format_program_text(IDS_RTF_BIN_TRUNCATED, {offset});
    }
    return {};
}

std::string draft_fault_text(const DraftFault& fault)
{
    switch (fault.kind) {
    case DraftFaultKind::none: break;
    case DraftFaultKind::not_a_draft: return load_program_text(IDS_DRAFT_NOT_A_DRAFT);
    case DraftFaultKind::other_version: return format_program_text(IDS_DRAFT_OTHER_VERSION, {fault.detail});
    case DraftFaultKind::cut_short: return load_program_text(IDS_DRAFT_CUT_SHORT);
    case DraftFaultKind::checksum_mismatch: return load_program_text(IDS_DRAFT_CHECKSUM);
    case DraftFaultKind::damaged_line: return format_program_text(IDS_DRAFT_DAMAGED_LINE, {fault.detail});
    case DraftFaultKind::after_body: return load_program_text(IDS_DRAFT_AFTER_BODY);
    case DraftFaultKind::body_too_large: return load_program_text(IDS_DRAFT_BODY_TOO_LARGE);
    case DraftFaultKind::body_cut_short: return load_program_text(IDS_DRAFT_BODY_CUT_SHORT);
    }
    return {};
}
