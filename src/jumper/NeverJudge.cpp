#include "jumper/NeverJudge.h"

namespace sds {

xml::CNodePtr CNeverJudge::GetCollisionInfo() const
{
    return xml::CNodePtr(new xml::CNode("CollisionInfo", false));
}

CCollisionJudgePtr CNeverJudge::Create(CJumper&, const xml::CNodePtr&, const std::string&)
{
    return std::make_shared<CNeverJudge>();
}

} // namespace sds
