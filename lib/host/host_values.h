// Host values read into plug-in values: the host hands over deep copies of strings and records;
// these helpers take them into std::string and std::vector and free the host's copies at once,
// so the rest of the plug-in never owns a host record.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Status values the element, attribute and document operations leave in StatusCode.
constexpr IntT StatusNoDocument = 200;
constexpr IntT StatusNoObject = 201;
constexpr IntT StatusNoSuchAttribute = 212;
constexpr IntT StatusNoAttributes = 213;
constexpr IntT StatusIndexOutOfRange = 220;
constexpr IntT StatusCannotDelete = 221;
constexpr IntT StatusNotPossible = 222;
constexpr IntT StatusNegativeIndex = 223;

// True when both ids are given; otherwise sets StatusCode to StatusNoDocument (no document) or
// StatusNoObject (no element) and answers false.
bool HostHaveDocAndObject(F_ObjHandleT docId, F_ObjHandleT objId);
// A string property as a std::string ("" when the host gives none).
std::string HostGetString(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
// The name (property 20) of an element's definition; "" for untagged text or a bad id.
std::string HostElementDefName(F_ObjHandleT docId, F_ObjHandleT elemId);
