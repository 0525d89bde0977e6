// The host's own document file format (".fm"): XML of our own design holding everything a
// document is, so that a save and a reopen give back the same document.
//
//   <qvdocument version="1">
//     <settings><setting name="paragraphs-per-page" value="40"/>   (and the settings of
//               docfile_extras.h: pages, graphics, variables, window, metadata)</settings>
//     <doctype root="chapter" public-id="" system-id="chapter.dtd" had-dtd="1"/>   (XML origin)
//     <catalog>
//       <element-def name="para" type="1" paragraph-format="para" content-model="(#PCDATA|b)*">
//         <attribute-def name="id" type="7" required="1" read-only="1" range-min="" range-max=""
//                        dtd-type="ID"><choice>a</choice><default>a</default></attribute-def>
//       </element-def>
//     </catalog>
//     <formats><format kind="32" name="Body"><property name="...">value</property></format></formats>
//     <flows>
//       <flow name="Main" main="1">
//         <e tag="chapter" uid="1000">            (paragraph="yes"/"no": the element's own choice;
//                                                   table-format="...": a table element's format)
//           <a name="id"><v>c1</v></a>
//           <prop number="1025">marker text</prop>   (properties of the object the element stands
//                                                   for: marker, cross-reference, table row)
//           <t uid="1001">text<x c="8"/>more</t>
//           <r length="4" color="Red" format="Bold" flag="1" change-bar="1"><c name="Draft"/></r>
//                                                  (character runs of the text before)
//         </e>
//       </flow>
//     </flows>
//   </qvdocument>
//
// Text lives only inside <t>, <v>, <prop>, <choice>, <default> and <property>, so the white space that
// indents the rest means nothing. A control character XML cannot carry is written as
// <x c="code"/>. The sections <settings>, <catalog> and <formats> are shared with the book
// format, whose root element will be <qvbook>.
#pragma once

#include <string>

#include "docfile_image.h"
#include "docfile_libxml.h"

namespace host::docfile {

// Reads a native document file into `image` (which must be empty). False with `failure` set
// when the file is not one (not well-formed, another root, an element the format does not have).
bool ReadNative(const std::string &nativePath, DocImage &image, ReadFailure &failure);

// Writes `image` in the native format into `bytes`. False with `error` set when it cannot.
bool WriteNative(const DocImage &image, std::string &bytes, std::string &error);

}  // namespace host::docfile
