#include "physics/zavuvi/Matrix.h"

#include <cmath>

namespace Zavuvi {

namespace {

float Component(const Vector3& v, int index)
{
    return index == 0 ? v.x : index == 1 ? v.y : v.z;
}

} // namespace

Matrix Matrix::FromQuaternion(const sds::CQuaternion& q)
{
    Matrix m;
    m.m_Columns[0] = q * sds::CVector::UNIT_X;
    m.m_Columns[1] = q * sds::CVector::UNIT_Y;
    m.m_Columns[2] = q * sds::CVector::UNIT_Z;
    return m;
}

float Matrix::At(int row, int column) const
{
    return Component(m_Columns[column], row);
}

sds::CQuaternion Matrix::ToQuaternion() const
{
    float squares = 0.0f;
    for (const Vector3& column : m_Columns)
        squares += column.Dot(column);
    if (!(squares > 1e-12f)) // all zero, or not finite
        return sds::CQuaternion::IDENTITY;
    // Shepperd's method: take the largest of the four squared components first.
    const float m00 = At(0, 0), m11 = At(1, 1), m22 = At(2, 2);
    const float trace = m00 + m11 + m22;
    sds::CQuaternion q;
    if (trace > 0.0f)
    {
        const float s = std::sqrt(trace + 1.0f) * 2.0f;
        q = {0.25f * s, (At(2, 1) - At(1, 2)) / s, (At(0, 2) - At(2, 0)) / s, (At(1, 0) - At(0, 1)) / s};
    }
    else if (m00 > m11 && m00 > m22)
    {
        const float s = std::sqrt(1.0f + m00 - m11 - m22) * 2.0f;
        q = {(At(2, 1) - At(1, 2)) / s, 0.25f * s, (At(0, 1) + At(1, 0)) / s, (At(0, 2) + At(2, 0)) / s};
    }
    else if (m11 > m22)
    {
        const float s = std::sqrt(1.0f + m11 - m00 - m22) * 2.0f;
        q = {(At(0, 2) - At(2, 0)) / s, (At(0, 1) + At(1, 0)) / s, 0.25f * s, (At(1, 2) + At(2, 1)) / s};
    }
    else
    {
        const float s = std::sqrt(1.0f + m22 - m00 - m11) * 2.0f;
        q = {(At(1, 0) - At(0, 1)) / s, (At(0, 2) + At(2, 0)) / s, (At(1, 2) + At(2, 1)) / s, 0.25f * s};
    }
    q.NormaliseQuaternion();
    return q;
}

Matrix Matrix::Transposed() const
{
    Matrix t;
    for (int c = 0; c < 3; ++c)
        t.m_Columns[c] = {At(c, 0), At(c, 1), At(c, 2)};
    return t;
}

Matrix Matrix::operator*(const Matrix& other) const
{
    Matrix m;
    for (int c = 0; c < 3; ++c)
        m.m_Columns[c] = *this * other.m_Columns[c];
    return m;
}

Matrix Matrix::operator-(const Matrix& other) const
{
    Matrix m;
    for (int c = 0; c < 3; ++c)
        m.m_Columns[c] = m_Columns[c] - other.m_Columns[c];
    return m;
}

bool Matrix::operator==(const Matrix& other) const
{
    for (int c = 0; c < 3; ++c)
        if (m_Columns[c] != other.m_Columns[c])
            return false;
    return true;
}

} // namespace Zavuvi
