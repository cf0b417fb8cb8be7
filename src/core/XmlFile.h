#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "core/Node.h"

namespace xml {

// Parses a file into a root "XmlFile" (value and attribute "Name" are the file
// name) whose only child is the document element. A parse error throws
// std::runtime_error "Could not load <name>"; a parser library that cannot be
// initialised gives a null pointer. An element name longer than `namePrefix`
// and beginning with it loses the prefix.
CNodePtr LoadXmlFile(const std::string& fileName, const std::string& namePrefix = "");
// The same for XML text in memory; `sourceName` stands in for the file name.
CNodePtr LoadXmlFromMemory(const std::string& text, const std::string& sourceName, const std::string& namePrefix = "");

// Writes the node as the document element. The file is written whole or not at
// all (a temporary file renamed over the old one); false when it could not be.
// `prolog` (comments, as ReadProlog gives them) goes between the declaration
// and the document element.
bool SaveXmlFile(const std::string& fileName, const CNodePtr& node, const std::string& prolog = "");
// The same file for the root with the children `next` hands out one at a time
// until it gives a null pointer (the root's own children are not written):
// each is let go once written, so that a file of many is written without a
// second copy of them all in memory.
bool SaveXmlFile(const std::string& fileName, const CNode& root, const std::function<CNodePtr()>& next);
// The comments before the document element of an XML text, as they stand, one
// line end after the last: what the reader leaves out of the tree and a file
// written back should keep (its header comment). Empty when there are none.
std::string ReadProlog(const std::string& text);
// SaveXmlFile writes the file name followed by this first; one left behind is
// a write that was cut off.
extern const char* const TEMPORARY_FILE_SUFFIX;
// Writes the node and its subtree with tab indentation.
void WriteNode(std::ostream& out, const CNode& node, const std::string& indentation);

// Replaces " & ' < > by their entities in one pass.
std::string EscapeText(const std::string& text);
// Replaces the name tokens (_fsl_, _spc_, …) by the characters they stand for.
std::string UnescapeName(const std::string& text);

} // namespace xml
