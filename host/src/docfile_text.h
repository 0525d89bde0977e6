// Plain text files: the text of a document's main flow, one line per paragraph.
#pragma once

#include <string>

#include "docfile_image.h"

namespace host::docfile {

// The main flow's text with a newline after each paragraph. An element whose definition names
// a paragraph format begins a paragraph; text after a nested paragraph element resumes in a new
// paragraph; text outside any paragraph element is a paragraph of its own. Host tabs (0x08)
// become tabs.
std::string PlainText(const DocImage &image);

}  // namespace host::docfile
