#pragma once

#include <string>

#include <boost/program_options/options_description.hpp>
#include <boost/program_options/variables_map.hpp>

namespace sds {

// The program's options. Parsing throws boost::program_options' exceptions for
// an option that is not known or a value of the wrong kind.
class CCommandLine
{
public:
    CCommandLine(int argc, const char* const* argv);

    static const boost::program_options::options_description& GetDescription();

    bool Has(const std::string& option) const { return m_Values.count(option) != 0; }
    std::string GetString(const std::string& option) const;
    float GetFloat(const std::string& option) const;

    // Seconds a frame takes at least: 1 / "FrameLimit"; 0, no limit, for a
    // limit that is not above 0.
    float GetMinFrameTime() const;

private:
    boost::program_options::variables_map m_Values;
};

} // namespace sds
