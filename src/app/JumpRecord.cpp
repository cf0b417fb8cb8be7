#include "app/JumpRecord.h"

#include "core/Helpers.h"

namespace sds {

CJumpRecord::CJumpRecord(std::uint32_t number, const std::string& location, const std::string& dataFile,
                         const CVector& startPos, const CVector& finishPos, const xml::CNodePtr& jumpInfo)
    : Number(number), Location(location), DataFile(dataFile), JumpInfo(jumpInfo), StartPos(startPos),
      FinishPos(finishPos)
{
}

CJumpRecord CJumpRecord::FromNode(const xml::CNodePtr& jump)
{
    return CJumpRecord(jump->GetAttribute("Number")->GetValue<unsigned int>(),
                       jump->GetAttribute("Location")->GetValue(), jump->GetAttribute("DataFile")->GetValue(),
                       jump->GetAttribute("StartPos")->GetValue<CVector>(),
                       jump->GetAttribute("FinishPos")->GetValue<CVector>(), jump);
}

xml::CNodePtr CJumpRecord::ToNode() const
{
    xml::CNodePtr jump(new xml::CNode("Jump", false));
    jump->AddAttribute("Number", ToString(static_cast<unsigned int>(Number)));
    jump->AddAttribute("Location", Location);
    jump->AddAttribute("DataFile", DataFile);
    jump->AddAttribute("StartPos", StartPos);
    jump->AddAttribute("FinishPos", FinishPos);
    if (JumpInfo) {
        for (const auto& child : JumpInfo->GetChildren())
            xml::CNode::Clone(child.second, jump.get());
    }
    return jump;
}

} // namespace sds
