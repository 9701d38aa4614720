// Why a file or a recovery copy is not taken, in the language of the
// interface (UTF-8), from what the checks found.
#pragma once

#include <string>

#include "text/files/draft_file.h"
#include "text/rtf/rtf_prescan.h"

// A sentence for the lines under "The editor cannot open this RTF file
// safely"; empty when the scan found nothing wrong.
std::string rtf_refusal_text(const RtfScan& scan);

// What is wrong with a recovery copy; empty when nothing is.
std::string draft_fault_text(const DraftFault& fault);
