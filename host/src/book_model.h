// Books: a tree of components (document files, and folders and groups that hold further
// components), each standing for a book element under the book's own highest-level element.
// Book elements live in the element pool with the book as their document, so the element
// properties read them with the book's id.
#pragma once

#include <string>
#include <vector>

#include "model.h"

namespace host {

struct BookComponent {
    F_ObjHandleT id = 0;
    F_ObjHandleT book = 0;  // 0 once deleted
    std::string path;
    std::string written;  // the path as the book file held it (relative ones stay relative)
    IntT type = FV_BK_DOC_FILE;
    F_ObjHandleT parent = 0;
    std::vector<F_ObjHandleT> children;
    F_ObjHandleT elem = 0;  // the book element that stands for it
};

struct Book {
    F_ObjHandleT id = 0;
    bool open = false;
    std::string path, label;
    IntT visible = 1, inFront = 0;
    std::vector<F_ObjHandleT> components;  // top level, in order
    F_ObjHandleT root = 0;                 // the book's highest-level element
};

// A new open book with a highest-level element tagged rootTag; label defaults to the file name.
F_ObjHandleT NewBook(const std::string &path, const std::string &rootTag, const std::string &label = "",
                     bool visible = true);
// Adds a component as the last child of `parent` (0: the top level) with a book element tagged
// `tag`; its id, or 0 for a bad book or parent.
F_ObjHandleT AddBookComponent(F_ObjHandleT book, F_ObjHandleT parent, const std::string &path, IntT type,
                              const std::string &tag);
Book *BookOf(F_ObjHandleT book);                 // open book or nullptr
BookComponent *ComponentOf(F_ObjHandleT comp);   // live component or nullptr
bool CloseBook(F_ObjHandleT book);
// The components in book order (pre-order).
std::vector<F_ObjHandleT> BookOrder(F_ObjHandleT book);

// Reads a ".book" file into a new open book; 0 with FA_errno when it is not one.
F_ObjHandleT OpenBookFile(const std::string &nativePath, const std::string &windowsPath, bool visible);
// Writes a book in the book format; 0 with FA_errno when it cannot.
F_ObjHandleT SaveBookFile(F_ObjHandleT book, const std::string &windowsPath);
// True when the file's first bytes hold the book format's root.
bool IsBookFile(const std::string &nativePath);

}  // namespace host
