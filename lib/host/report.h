// The plug-in report writer: a host document opened from the report template in the plug-in's
// folder ("<product>_Report_Template.fm"), found again by its window label "<product> Report",
// to which entries are appended as paragraphs of the template's formats, each with an "ID" marker
// holding its paragraph's unique id, an optional "Hypertext" marker linking back to a document or
// object, and character formats named by style words ("Blue", "Bold", "Italics", "Red",
// "Underline", "Green", "Purple"); also small tables, markers and variables in the current
// paragraph. Nothing is written until om_ReportSetUp has run. The writer creates no formats but
// variable formats.
//
// Also the paragraph, marker and variable operations it is built on, usable on any document.
#pragma once

#include <string>

#include "fdk.h"

struct ReportState {
    std::string productName;
    std::string heading;
    bool setUp = false;
    bool startNew = false;
    F_ObjHandleT currentPgf = 0;
};
extern ReportState Report;

void om_ReportSetUp(ConStringT productName, ConStringT heading, IntT startNew);
// The open report of the product ("" = the stored one), by its label ignoring case; 0 when none.
F_ObjHandleT om_ReportFind(ConStringT productName);
// Finds or opens the report and starts a section in it (separator, heading, date line).
F_ObjHandleT om_ReportOpen(void);
// The template's path in the plug-in's folder (a new string).
StringT om_ReportTemplatePath(ConStringT productName);
void om_ReportActivate(void);
void om_ReportClose(void);
void om_ReportFormatCurrent(F_ObjHandleT pgfId, ConStringT pgfFormat, ConStringT charFormat);
// Appends an entry of the paragraph format holding text1 + text2 + text3, linked to the document
// (or path) and object, with the style words' character formats.
void om_ReportAddEntry(F_ObjHandleT linkDoc, ConStringT path, F_ObjHandleT linkObj, ConStringT pgfFormat,
                       ConStringT styleWords, ConStringT text1, ConStringT text2, ConStringT text3);
IntT om_ReportAddSingleLines(IntT count);
IntT om_ReportAddSpacers(IntT count);
// Writes the text into a column of the last row of the report's last table.
void om_ReportAddTableEntry(F_ObjHandleT linkDoc, ConStringT path, F_ObjHandleT linkObj, IntT column,
                            ConStringT pgfFormat, ConStringT styleWords, ConStringT text);
void om_ReportAddTableRow(void);
// A "Spacer" paragraph anchoring a new table of the format, one body row, a column per leading
// positive width (points).
void om_ReportAddTable(ConStringT tableFormat, RealT w1, RealT w2, RealT w3, RealT w4, RealT w5, RealT w6);
void om_ReportAddMarker(IntT offset, ConStringT markerType, ConStringT text);
void om_ReportAddVariable(ConStringT varFormat, IntT offset, ConStringT definition);
void om_ReportSetVariableDef(ConStringT varFormat, ConStringT definition);
F_ObjHandleT om_ReportCurrentPgf(void);
// The number in the first "ID" marker of the paragraph (0: the current one); 0 when none.
IntT om_ReportPgfId(F_ObjHandleT pgfId);
F_ObjHandleT om_ReportFindPgfById(IntT number);
void om_ReportAddLinkMarker(F_ObjHandleT reportId, F_ObjHandleT pgfId, F_ObjHandleT docId, ConStringT path,
                            F_ObjHandleT objId);
void om_ReportApplyStyleWords(F_ObjHandleT reportId, F_ObjHandleT pgfId, ConStringT styleWords);

void om_CellClearText(F_ObjHandleT docId, F_ObjHandleT tableId, F_ObjHandleT rowElem, F_ObjHandleT cellId, IntT row,
                      IntT column);
F_ObjHandleT om_PgfFind(F_ObjHandleT docId, F_ObjHandleT pgfId, ConStringT flowName, ConStringT format, ConStringT text,
                        IntT inclusive, IntT caseFlag);
F_ObjHandleT om_MarkerAdd(F_ObjHandleT docId, F_ObjHandleT pgfId, F_ObjHandleT frameId, IntT offset,
                          ConStringT markerType, ConStringT text);
F_ObjHandleT om_VariableInsert(F_ObjHandleT docId, F_ObjHandleT pgfId, F_ObjHandleT frameId, IntT offset,
                               ConStringT varFormat, ConStringT definition);
F_ObjHandleT om_VarFormatGetOrCreate(F_ObjHandleT docId, ConStringT name, ConStringT definition);
F_ObjHandleT om_VarFormatSetDefinition(F_ObjHandleT docId, ConStringT name, ConStringT definition);
IntT om_PgfSetText(F_ObjHandleT docId, F_ObjHandleT pgfId, ConStringT text, IntT number);
// A developer's trace: appends a paragraph to the trace template "printf_template.fm" in the
// "dev" folder of the plug-in's folder.
void om_PrintfTemplateAppend(ConStringT text, ConStringT pgfFormat);
