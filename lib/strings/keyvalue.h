// Key=value readers over the lines of a settings file, and the small text conversions they
// use (boolean words, prompt words, the integer-literal test, a digit of a number).
//
// A key's line is the first line that begins with the key (with the call's case flag); it is
// split at the separator ("=" when the separator is empty) and has a value only when it splits
// into exactly two parts and the value is not empty. Missing keys and values, and values that
// do not read as the type asked for, give the default; integers and reals are then bounded.
#pragma once

#include "fdk.h"

// A prompt setting: whether a warning or message is shown (the preferences' prompt words read
// into it; the condition settings document keeps two). "Once" becomes "asked once" after the
// first showing, for the rest of the session.
enum PromptSetting : IntT {
    kPromptAlways = 1,
    kPromptOnce = 2,
    kPromptNever = 3,
    kPromptAskedOnce = 4,
};

IntT om_IniSplitLine(ConStringT line, StringT *key, StringT *value, ConStringT separator, IntT trim);

IntT om_IniGetBool(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT def);
IntT om_IniGetInt(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT def, IntT min,
                  IntT max);
RealT om_IniGetReal(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, RealT def, RealT min,
                    RealT max);
StringT om_IniGetString(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT trim,
                        ConStringT def);
F_StringsT om_IniGetList(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator,
                         ConStringT listSeparator, IntT trim, ConStringT def);
IntT om_IniGetTriState(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT def);
IntT om_IniGetPromptChoice(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT def);
StringT om_IniGetShortcut(const F_StringsT *lines, ConStringT key, ConStringT separator, ConStringT def);

IntT om_StrToBool(ConStringT text, IntT def);
// A prompt word: yes or always kPromptAlways, once kPromptOnce, never kPromptNever (by first letter).
IntT om_StrToTriState(ConStringT text, IntT def);
IntT om_StrToPromptChoice(ConStringT text, IntT def);
// 1 when the first byte is t or 1 (either case); the text is cut to its first byte in place.
IntT om_StrIsTrue(StringT text);
IntT om_StrIsInteger(ConStringT text);
IntT om_IntDigitAt(IntT number, IntT position);
