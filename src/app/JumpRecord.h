#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "core/Node.h"
#include "core/PackedNodes.h"
#include "core/Vector.h"

namespace sds {

// One jump of a profile. Its info node's children are the jump's descriptive
// elements ("Info" entries and the like), written back unchanged. They are
// kept packed: a profile holds every jump of its user, hundreds of them.
class CJumpRecord
{
public:
    CJumpRecord(std::uint32_t number, const std::string& location, const std::string& dataFile,
                const CVector& startPos, const CVector& finishPos, const xml::CNodePtr& jumpInfo);

    // Reads a "Jump" element; every one of its five attributes is required,
    // and an empty "Number" throws. A number or position that cannot be read
    // (not a whole number, not three finite numbers) reads as 0 and is kept in
    // Unreadable.
    static CJumpRecord FromNode(const xml::CNodePtr& jump);
    // A new "Jump" element holding copies of the info node's children; what
    // could not be read is written back as it was.
    xml::CNodePtr ToNode() const;

    // A new "JumpInfo" element holding copies of the jump's descriptive elements.
    xml::CNodePtr GetInfo() const;
    // The bytes the descriptive elements take in the record.
    std::size_t GetInfoSize() const { return m_Info.GetSize(); }

    std::uint32_t Number;
    std::string Location;
    // The trajectory file, in the profile's folder.
    std::string DataFile;
    CVector StartPos;
    CVector FinishPos;
    // The texts of the attributes that could not be read, by name.
    std::map<std::string, std::string> Unreadable;

private:
    xml::CPackedNodes m_Info;
};

} // namespace sds
