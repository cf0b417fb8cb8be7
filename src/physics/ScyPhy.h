#pragma once

#include <memory>

#include "physics/IPhyObj.h"

namespace Zavuvi {
class PhysicalObject;
}

namespace physics {

// A graphical model of an inserted physics-editor file: it sits on its actor
// where the file put it. A model whose actor has no shapes keeps the place it
// was inserted at.
class CScyPhy : public IPhyObj
{
public:
    CScyPhy(std::shared_ptr<Zavuvi::PhysicalObject> object, int modelIndex);

    sds::CVector GetPos() const override;
    sds::CQuaternion GetOrientation() const override;
    // These move the model's actor itself, as the model's own offset were none.
    void SetOrientation(const sds::CQuaternion& orientation) override;
    void SetPos(const sds::CVector& position) override;

    int GetModelIndex() const { return m_ModelIndex; }

private:
    std::shared_ptr<Zavuvi::PhysicalObject> m_Object;
    int m_ModelIndex;
};

} // namespace physics
