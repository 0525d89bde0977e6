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

// Writes PlainText(image) to `nativePath`; false with `error` set when it cannot.
bool WritePlainText(const DocImage &image, const std::string &nativePath, std::string &error);

}  // namespace host::docfile
