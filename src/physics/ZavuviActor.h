#pragma once

#include <memory>
#include <string>

#include "physics/PhyObj.h"
#include "physics/zavuvi/Matrix.h"

namespace Zavuvi {

// One actor of a file built into the scene.
struct ZavuviActor
{
    physics::sdk::IActor* GetActor() const { return m_Object ? m_Object->GetActor() : nullptr; }

    int m_Index = -1; // in the file and in the object's actor list
    std::shared_ptr<physics::CPhyObj> m_Object;
    std::string m_BoneName;
    // How far the built pose is from the bone's reference pose: positions
    // subtracted, rotation matrices subtracted element by element.
    Vector3 m_ReferencePositionOffset;
    Matrix m_ReferenceRotationOffset;
};

} // namespace Zavuvi
