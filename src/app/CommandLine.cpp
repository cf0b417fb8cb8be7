#include "app/CommandLine.h"

#include <cmath>

#include <boost/program_options/parsers.hpp>
#include <boost/program_options/value_semantic.hpp>

namespace po = boost::program_options;

namespace sds {

namespace {

po::options_description MakeDescription()
{
    po::options_description options("Allowed options", 80);
    // clang-format off
    options.add_options()
        ("Help", "Output help message.")
        ("StartState", po::value<std::string>()->default_value("SplashScreens"),
         "State to start in, SplashScreens - the beginning, GameMode - start simulation.")
        ("LogFile,l", po::value<std::string>()->default_value("../logs/dravonkel.log"), "Main log file.")
        ("FrameLimit", po::value<float>()->default_value(6000.0f, "6000"),
         "Maximum number of frames per second, if all the processing that must be done during every "
         "frame,allows for a quicker frame rate application will wait doing nothing.")
        ("DumpType", po::value<std::string>()->default_value("MiniDumpNormal"),
         "Type of crash dump to create in case of a program failure. MiniDumpNormal,MiniDumpWithDataSegs,"
         "MiniDumpWithFullMemory,MiniDumpWithHandleData,MiniDumpFilterMemory,MiniDumpScanMemory,"
         "MiniDumpWithUnloadedModules,MiniDumpWithIndirectlyReferencedMemory,MiniDumpFilterModulePaths,"
         "MiniDumpWithProcessThreadData,MiniDumpWithPrivateReadWriteMemory,MiniDumpWithoutOptionalData.")
        ("RunTest", "Run unit tests.")
        ("RecordEvents", po::value<std::string>(), "Record events to a file. This file can be used with PlayEvents.")
        ("PlayEvents", po::value<std::string>(), "Play events from a given file. This is used to run self tests.")
        ("Fail", "Cause an unhandled exception, which must create a dump file.")
        ("Silent", "Disables any message boxes in case of an error.")
        ("Force", po::value<std::string>(), "OpenGL|DirectX renderer to be used.")
        ("NoSound", "Disables sound.")
        ("NoShaders", "Disable shaders.")
        ("SurfaceObjects", po::value<float>(), "Number of surface objects.")
        ("ForceVisualization", po::value<float>(), "Number of visualization particles.")
        ("ReloadDZs", "Reload drop zone files every time a selection can be made. This is useful when testing "
                      "modifications to the dropzone files, so that the application does not have to be "
                      "restarted.")
        ("DisableInputs", "Disable all inputs. Use it with PlayEvents to make sure that nothing interferes with "
                          "the playback.");
    // clang-format on
    return options;
}

} // namespace

CCommandLine::CCommandLine(int argc, const char* const* argv)
{
    po::store(po::parse_command_line(argc, argv, GetDescription()), m_Values);
    po::notify(m_Values);
}

const po::options_description& CCommandLine::GetDescription()
{
    static const po::options_description description = MakeDescription();
    return description;
}

std::string CCommandLine::GetString(const std::string& option) const
{
    return m_Values[option].as<std::string>();
}

float CCommandLine::GetFloat(const std::string& option) const
{
    return m_Values[option].as<float>();
}

float CCommandLine::GetMinFrameTime() const
{
    const float limit = GetFloat("FrameLimit");
    // A limit of 0 would wait for ever; "inf" and "nan" read as numbers too.
    if (!(limit > 0.0f) || std::isinf(limit))
        return 0.0f;
    return 1.0f / limit;
}

} // namespace sds
