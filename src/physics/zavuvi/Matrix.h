#pragma once

#include "core/Quaternion.h"
#include "core/Vector.h"

namespace Zavuvi {

typedef sds::CVector Vector3;

// A 3x3 rotation kept as its three columns: the local x, y and z axes in the
// parent's frame, the way the physics-editor files store rotations.
struct Matrix
{
    Vector3 m_Columns[3] = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};

    static Matrix FromQuaternion(const sds::CQuaternion& q);
    // The rotation as a unit quaternion; a matrix that is not quite orthonormal
    // gives the nearest rotation, one with no rotation in it (all zero, or not
    // finite) the identity.
    sds::CQuaternion ToQuaternion() const;

    // Row r, column c.
    float At(int row, int column) const;
    Matrix Transposed() const;

    Vector3 operator*(const Vector3& v) const
    {
        return m_Columns[0] * v.x + m_Columns[1] * v.y + m_Columns[2] * v.z;
    }
    Matrix operator*(const Matrix& other) const;
    // Element by element.
    Matrix operator-(const Matrix& other) const;
    bool operator==(const Matrix& other) const;
};

} // namespace Zavuvi
