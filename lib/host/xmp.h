// A document's XMP metadata: a packet holding one field chosen by its English label.
#pragma once

#include <string>

#include "fdk.h"

// Replaces the document's XMP metadata with a packet holding one field chosen by its label.
void om_DocSetXmpField(F_ObjHandleT docId, const std::string &field, const std::string &value);
// The XMP packet om_DocSetXmpField writes.
std::string XmpPacket(const std::string &field, const std::string &value);
