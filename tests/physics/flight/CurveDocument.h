#pragma once

#include <string>

#include "physics/WorldFixture.h"

// A curve document holding one axes box, from (0, 0) to (100, 100) in the
// drawing, and one curve.
inline xml::CNodePtr CurveDocument(const std::string& curvePath, const std::string& min = "0,0,0",
                                   const std::string& max = "1,0,1",
                                   const std::string& axesPath = "M 0,0 C 0,0 100,0 100,0 C 100,0 100,100 100,100 "
                                                                 "C 100,100 0,100 0,100 C 0,100 0,0 0,0 z")
{
    return Xml("<svg xmlns:inkscape=\"i\">"
               "<g inkscape:label=\"Axes\"><g inkscape:label=\"Grid\" />"
               "<path id=\"Other\" Min=\"0,0,0\" Max=\"1,0,1\" d=\"M 0,0 z\" />"
               "<path id=\"Box\" Min=\"" + min + "\" Max=\"" + max + "\" d=\"" + axesPath + "\">Label</path></g>"
               "<g inkscape:label=\"Curves\"><path id=\"Curve\" d=\"" + curvePath + "\" /></g></svg>");
}

// The element that names the document's curve and axes.
inline xml::CNodePtr CurveConfig() { return Xml("<Input Curve=\"Curve\" Axes=\"Box\" />"); }

// A straight line from the bottom-left to the top-right corner of the box.
const char* const kDiagonal = "M 0,100 C 33,67 67,33 100,0 z";
