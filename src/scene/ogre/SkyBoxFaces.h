#pragma once

namespace wrappers {

// The faces of a sky box in frame order. Each is the plane with the normal at
// the box's distance from the centre, facing it; `m_Up` is the picture's up.
// Seen from the centre, a picture's left-to-right runs along up x normal.
struct CSkyBoxFace
{
    const char* m_Word;
    float m_Normal[3];
    float m_Up[3];
};

inline constexpr CSkyBoxFace kSkyBoxFaces[6] = {
    {"Front", {0, 0, 1}, {0, 1, 0}},
    {"Back", {0, 0, -1}, {0, 1, 0}},
    {"Left", {1, 0, 0}, {0, 1, 0}},
    {"Right", {-1, 0, 0}, {0, 1, 0}},
    {"Up", {0, -1, 0}, {0, 0, 1}},
    {"Down", {0, 1, 0}, {0, 0, -1}},
};

} // namespace wrappers
