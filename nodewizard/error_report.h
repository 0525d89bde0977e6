// The error report document shared by the Node Wizard, the scripts and the transformation: a
// structured document made from "Quorvane_Report_Template.fm" in the plug-in's folder, found
// again by its window label, to which each failure adds a heading element and an error element
// holding a Hypertext marker back to the failing node and the translated message. The plug-in
// never saves it.
#pragma once

#include <string>

#include "fdk.h"

// The report's window label, by which it is found again.
inline constexpr const char *kErrorReportLabel = "Quorvane Error Report";
// A name that stands for "no definition name" in an insert failure.
inline constexpr const char *kNWEmptyTagName = "<TotalBullcrapEmptyTag>";

// Sets ErrorReportDoc: the open report, else a new one from the template (0 when it cannot be
// opened; the first failure of the session says so once).
void om_OpenErrorReportDoc();
// What failed, which decides the heading an entry goes under.
enum class NWReportKind { Element = 1, Attribute = 2, Other = 3 };
// Appends one entry for a failing node under the kind's heading. name, when not empty, names the
// node (or the definition) in the message. Counts against the batch's limit; the entry at the
// limit says that the limit was reached.
void om_NWReportActionError(F_ObjHandleT doc, F_ObjHandleT node, const std::string &name, IntT code,
                            NWReportKind kind);
// The text of the Hypertext marker that leads back to a node: "openObjectId PATH:5 UNIQUE".
std::string om_NWReportLinkText(const std::string &path, IntT unique);
// The message of an entry (the current language's text of the code's message id, filled);
// "" for a code without a message.
std::string om_NWReportMessage(IntT code, const std::string &nodeName, const std::string &defName,
                               const std::string &path);
// The template's path: the one start-up set, else the file in the plug-in's folder.
std::string om_NWReportTemplatePath();
