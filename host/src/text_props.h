// Text properties of character runs: colour (751), condition tags (1150), a flag (609), the
// character format tag (602) and change bars (611), kept per text node as runs; the text frame at
// a location (1001) is read from the layout. Read at a text location, set over a text range.
#pragma once

#include <string>
#include <vector>

#include "model.h"

namespace host {

struct TextProps {
    F_ObjHandleT color = 0;
    std::vector<IntT> conditions;
    IntT flag = 0;
    std::string charFormat;
    IntT changeBar = 0;
    bool operator==(const TextProps &) const = default;
};

// One run of a text node: `len` characters carrying `props`.
struct PropRun {
    IntT len = 0;
    TextProps props;
};

// The runs of a text node (empty: every character has the default properties). The last run
// covers whatever the node holds beyond the runs' lengths.
const std::vector<PropRun> &TextRuns(F_ObjHandleT textNode);
// Replaces a text node's runs (file readers); adjacent equal runs are merged.
void SetTextRuns(F_ObjHandleT textNode, std::vector<PropRun> runs);
// The properties of a text node's character at `off`.
TextProps PropsAt(F_ObjHandleT textNode, IntT off);
// Keeping the runs in step with the text: a node split at a character (the second part moves to
// the new node), two nodes joined (call before the join, with the first node's length),
// characters inserted (they take the properties of the character before them) or erased.
void TextRunsSplit(F_ObjHandleT first, F_ObjHandleT second, IntT off);
void TextRunsJoin(F_ObjHandleT first, F_ObjHandleT second, IntT firstLen);
void TextRunsInserted(F_ObjHandleT node, IntT off, IntT len);
void TextRunsErased(F_ObjHandleT node, IntT off, IntT len);
// Forgets every text node's runs (session reset).
void ResetTextProps();

}  // namespace host
