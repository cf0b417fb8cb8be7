#pragma once

#include <map>
#include <string>

#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

// How many nodes under the root and movable objects of each kind a scene has,
// to see that something built and torn down left the scene as it found it.
class CSceneCounts
{
public:
    explicit CSceneCounts(Ogre::SceneManager& scene)
    {
        m_Counts["node"] = Nodes(*scene.getRootSceneNode());
        for (const char* type : {"Entity", "Light", "ManualObject", "BillboardSet"})
            m_Counts[type] = static_cast<int>(scene.getMovableObjects(type).size());
    }

    bool operator==(const CSceneCounts& other) const { return m_Counts == other.m_Counts; }

    std::string Text() const
    {
        std::string text;
        for (const auto& count : m_Counts)
            text += count.first + " " + std::to_string(count.second) + "; ";
        return text;
    }

private:
    static int Nodes(const Ogre::Node& node)
    {
        int count = 1;
        for (const Ogre::Node* child : node.getChildren())
            count += Nodes(*child);
        return count;
    }

    std::map<std::string, int> m_Counts;
};
