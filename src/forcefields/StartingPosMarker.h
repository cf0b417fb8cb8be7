#pragma once

#include "forcefields/BaseMarker.h"

namespace sds {
namespace DovuvUvozeVozediza {

// Where the jumper starts: a flat box at the "Position" of the scene's
// "Preset"/"Jumper" element.
class CStartingPosMarker : public CBaseMarker
{
public:
    explicit CStartingPosMarker(const xml::CNodePtr& jumper);
    ~CStartingPosMarker() override;

    void Select() override;
    void SaveToScene() override;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
