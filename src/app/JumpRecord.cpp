#include "app/JumpRecord.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Helpers.h"

namespace sds {

CJumpRecord::CJumpRecord(std::uint32_t number, const std::string& location, const std::string& dataFile,
                         const CVector& startPos, const CVector& finishPos, const xml::CNodePtr& jumpInfo)
    : Number(number), Location(location), DataFile(dataFile), StartPos(startPos), FinishPos(finishPos),
      m_Info(jumpInfo ? xml::CPackedNodes(*jumpInfo) : xml::CPackedNodes())
{
}

namespace {

// Digits alone, blanks around them allowed, within the 32 bits a number has.
bool IsWholeNumber(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return false;
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    const std::string digits = text.substr(first, last - first + 1);
    return digits.size() <= 10 && digits.find_first_not_of("0123456789") == std::string::npos &&
           std::stoull(digits) <= 0xFFFFFFFFull;
}

bool IsFinitePosition(const std::string& text)
{
    const std::vector<std::string> parts = SplitString(text, ",");
    if (parts.size() != 3)
        return false;
    for (const std::string& part : parts) {
        char* end = nullptr;
        const double value = std::strtod(part.c_str(), &end);
        if (end == part.c_str() || part.find_first_not_of(" \t\r\n", end - part.c_str()) != std::string::npos ||
            !std::isfinite(value))
            return false;
    }
    return true;
}

} // namespace

CJumpRecord CJumpRecord::FromNode(const xml::CNodePtr& jump)
{
    std::map<std::string, std::string> unreadable;
    const xml::CNodePtr number = jump->GetAttribute("Number");
    const xml::CNodePtr start = jump->GetAttribute("StartPos");
    const xml::CNodePtr finish = jump->GetAttribute("FinishPos");
    if (!number->GetValue().empty() && !IsWholeNumber(number->GetValue()))
        unreadable["Number"] = number->GetValue();
    for (const xml::CNodePtr& position : {start, finish})
        if (!IsFinitePosition(position->GetValue()))
            unreadable[position->GetName()] = position->GetValue();

    CJumpRecord record(unreadable.count("Number") ? 0u : number->GetValue<unsigned int>(),
                       jump->GetAttribute("Location")->GetValue(), jump->GetAttribute("DataFile")->GetValue(),
                       unreadable.count("StartPos") ? CVector::ZERO : start->GetValue<CVector>(),
                       unreadable.count("FinishPos") ? CVector::ZERO : finish->GetValue<CVector>(), jump);
    record.Unreadable = unreadable;
    return record;
}

xml::CNodePtr CJumpRecord::ToNode() const
{
    const auto kept = [this](const std::string& name, const std::string& value) {
        const auto found = Unreadable.find(name);
        return found == Unreadable.end() ? value : found->second;
    };
    xml::CNodePtr jump(new xml::CNode("Jump", false));
    jump->AddAttribute("Number", kept("Number", ToString(static_cast<unsigned int>(Number))));
    jump->AddAttribute("Location", Location);
    jump->AddAttribute("DataFile", DataFile);
    jump->AddAttribute("StartPos", kept("StartPos", VectorToString(StartPos)));
    jump->AddAttribute("FinishPos", kept("FinishPos", VectorToString(FinishPos)));
    m_Info.UnpackInto(*jump);
    return jump;
}

xml::CNodePtr CJumpRecord::GetInfo() const
{
    const xml::CNodePtr info(new xml::CNode("JumpInfo", false));
    m_Info.UnpackInto(*info);
    return info;
}

} // namespace sds
