#include "app/document_state.h"

DocumentState g_doc;
