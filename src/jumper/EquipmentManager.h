#pragma once

#include <string>
#include <vector>

#include "core/Node.h"
#include "core/SingletonTmpl.h"

namespace sds {

// The gear a jumper can wear, from the equipment file: altimeters, canopies,
// pilot chutes and containers, each model found by its "Name". The engine
// holds the one instance for the whole run.
class CEquipmentManager : public CSingletonTmpl<CEquipmentManager>
{
public:
    // `equipment` is the file's "Equipment" element.
    explicit CEquipmentManager(const xml::CNodePtr& equipment);
    ~CEquipmentManager() override;

    // The "Name" of every model with that element name, in file order. A file
    // without such a model throws xml::CNoNodeException.
    std::vector<std::string> GetNames(const std::string& tag) const;
    std::vector<std::string> GetAltimeterNames() const { return GetNames("Altimeter"); }

private:
    xml::CNodePtr m_Equipment;
};

} // namespace sds
