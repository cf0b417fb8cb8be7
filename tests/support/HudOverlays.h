#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/memory/MemGfxMgr.h"
#include "graphics/memory/MemOverlayElement.h"

// Gives the in-memory graphics the head-up display's overlays as the shipped
// overlay script defines them: names, elements and their heights. So the
// code's names and the data's cannot drift apart unnoticed.
inline void DefineHudOverlays(sds::CMemGfxMgr& gfx)
{
    std::ifstream script(SDS_SOURCE_DIR "/data/gfx/general/HUD.overlay");
    std::string line, overlay, element;
    std::vector<std::pair<std::string, std::vector<std::string>>> overlays;
    std::vector<std::pair<std::string, float>> heights;
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
        }
    }
    for (const auto& o : overlays)
        gfx.DefineOverlay(o.first, o.second);
    for (const auto& h : heights)
        gfx.FindOverlayElement(h.first)->m_Height = h.second;
}
