// Host commands, formats, tables and client calls: small operations over the host that several
// parts of the plug-in share (command definition with the shortcut in the label, function codes,
// client calls, the cancel confirmation, tables by title, the host version, the
// per-user settings folder path, month and day names, lengths, table cells).
#pragma once

#include "fdk.h"

F_ObjHandleT om_CmdDefine(IntT command, F_ObjHandleT menu, ConStringT name, ConStringT label, ConStringT shortcut);
IntT om_RunFcode(IntT fcode);
IntT om_CallClient(ConStringT clientName, ConStringT message, IntT twice);
IntT om_ConfirmCancel(ConStringT question);
F_ObjHandleT om_DocFindTable(F_ObjHandleT doc, ConStringT title, ConStringT formatName, IntT caseFlag);
StringT om_HostVersionText(IntT withMinor);
StringT om_PathSettingsFolder(ConStringT variable, ConStringT subFolder, IntT trailing);
StringT om_MonthName(IntT month, IntT shortName);
IntT om_Not(IntT flag);

StringT om_DayName(IntT day, IntT shortName);
RealT om_LengthToPoints(RealT value, IntT unit);
RealT om_PointsToLength(RealT points, IntT unit);
IntT om_RowCountCells(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT row);
F_ObjHandleT om_RowLastCell(F_ObjHandleT doc, F_ObjHandleT row, F_ObjHandleT cell);
F_UIntsT om_TableSelectedCells(F_ObjHandleT doc, F_ObjHandleT table);
F_StringsT om_DocTableTitles(F_ObjHandleT doc, ConStringT formatName, IntT caseFlag);
F_ObjHandleT om_DocSelectedTable(F_ObjHandleT doc);
StringT om_PgfCharAt(F_ObjHandleT doc, F_ObjHandleT pgf, IntT position);
void om_DebugPrompt(void);
void om_DebugPrompt1(ConStringT text);
void om_DebugPrompt2(ConStringT text1, ConStringT text2);
IntT om_ClientCallPrompt(ConStringT defaultClient, ConStringT defaultMessage, IntT showResult, IntT remember);
void om_DocListCommandsReport(void);

// The open structure-applications document of the host's folder (where 1) or of the user's
// settings folder (where 2); found among the open documents, or opened with the open flag
// (invisibly when the option is 1); 0 otherwise.
F_ObjHandleT om_StructAppsDoc(IntT where, IntT open, IntT option);

// Debug prompting of om_DebugPrompt* (off unless a developer turns it on).
extern IntT DebugPromptsOn;
