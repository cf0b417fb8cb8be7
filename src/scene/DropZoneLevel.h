#pragma once

#include <string>

#include "core/Node.h"

namespace sds {

// One drop zone found on disk: the file's tree as parsed ("XmlFile" root, its
// "scene" child the document element), a working copy that a jump writes its
// settings into, the zone's full name and the file path. The file's own tree
// is never changed: each jump starts from a fresh working copy of it.
class CDropZoneLevel
{
public:
    // Throws xml::CNoNodeException when the tree has no "scene" or its "scene"
    // no "FullName".
    CDropZoneLevel(const xml::CNodePtr& tree, const std::string& path);
    ~CDropZoneLevel();

    // A tree without a full name is no drop zone.
    static bool HasFullName(const xml::CNodePtr& tree);

    const xml::CNodePtr& GetTree() const { return m_Tree; }
    const xml::CNodePtr& GetWorkingTree() const { return m_WorkingTree; }
    const std::string& GetFullName() const { return m_FullName; }
    const std::string& GetPath() const { return m_Path; }

    // Drops what a jump wrote: the working tree becomes a fresh copy of the file's.
    void ResetWorkingTree();
    // The file was written anew: the next reset starts from this tree. The
    // working tree, which a level may be using, stays.
    void SetTree(const xml::CNodePtr& tree) { m_Tree = tree; }

private:
    xml::CNodePtr m_Tree;
    xml::CNodePtr m_WorkingTree;
    std::string m_FullName;
    std::string m_Path;
};

} // namespace sds
