#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/memory/MemGfxMgr.h"
#include "graphics/memory/MemOverlayElement.h"

// Gives the in-memory graphics the overlays of a shipped overlay script
// (`file` under data/gfx): names, elements, their heights, colours and
// materials (those written before an element's children). So
// the code's names and the data's cannot drift apart unnoticed.
inline void DefineScriptOverlays(sds::CMemGfxMgr& gfx, const std::string& file)
{
    std::ifstream script(SDS_SOURCE_DIR "/data/gfx/" + file);
    std::string line, element;
    std::vector<std::pair<std::string, std::vector<std::string>>> overlays;
    std::vector<std::pair<std::string, float>> heights;
    std::vector<std::pair<std::string, sds::CFourFloats>> colours;
    std::vector<std::pair<std::string, std::string>> materials;
    while (std::getline(script, line)) {
        std::istringstream words(line);
        std::string word, name;
        words >> word >> name;
        if (word == "overlay") {
            overlays.push_back({name, {}});
        } else if (word == "overlay_element") {
            overlays.back().second.push_back(name);
            element = name;
        } else if (word == "height") {
            heights.push_back({element, std::stof(name)});
        } else if (word == "material") {
            materials.push_back({element, name});
        } else if (word == "colour") {
            sds::CFourFloats colour;
            colour.v[0] = std::stof(name);
            words >> colour.v[1] >> colour.v[2];
            colours.push_back({element, colour});
        }
    }
    for (const auto& o : overlays)
        gfx.DefineOverlay(o.first, o.second);
    for (const auto& h : heights)
        gfx.FindOverlayElement(h.first)->m_Height = h.second;
    for (const auto& c : colours)
        gfx.FindOverlayElement(c.first)->m_Colour = c.second;
    for (const auto& m : materials)
        gfx.FindOverlayElement(m.first)->m_Material = m.second;
}

// The head-up display's overlays.
inline void DefineHudOverlays(sds::CMemGfxMgr& gfx)
{
    DefineScriptOverlays(gfx, "general/HUD.overlay");
}
