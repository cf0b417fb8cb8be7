#pragma once

#include <memory>

#include "forcefields/BaseMarker.h"

namespace sds {
namespace DovuvUvozeVozediza {

class IEditorSimObj;

// A landing target: the level's simulated object of the target, whose body
// follows its graphic object while the target is selected.
class CTargetMarker : public CBaseMarker
{
public:
    // `target` is a "Target" element; `simObj` the level's object nearest to its "Position".
    CTargetMarker(const xml::CNodePtr& target, const std::shared_ptr<IEditorSimObj>& simObj);
    ~CTargetMarker() override;

    void Select() override;
    void Deselect() override;
    void SaveToScene() override;
    // The target keeps the size the level gave it.
    void SetScale(float) override {}

private:
    std::shared_ptr<IEditorSimObj> m_SimObj;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
