#include <gtest/gtest.h>

#include <cstdlib>

#include "sound/openal/NullAudio.h"
#include "support/CapturingLogMgr.h"
#include "support/TempDir.h"

namespace {

// Keeps the process's ALSOFT_DRIVERS as it was: OpenAL of this test binary
// writes to the wave back end.
class CSavedDrivers
{
public:
    CSavedDrivers()
    {
        const char* value = std::getenv("ALSOFT_DRIVERS");
        m_Had = value != nullptr;
        m_Value = value ? value : "";
    }
    ~CSavedDrivers()
    {
        if (m_Had)
            setenv("ALSOFT_DRIVERS", m_Value.c_str(), 1);
        else
            unsetenv("ALSOFT_DRIVERS");
    }

private:
    bool m_Had;
    std::string m_Value;
};

} // namespace

TEST(NullAudio, ChoosesTheNullOutputOnlyWithoutASoundCardAndWithoutAChoice)
{
    CSavedDrivers saved;
    CCapturingLogMgr log;
    CTempDir soundCard;
    const std::string noSoundCard = soundCard.File("missing");
    struct CCase
    {
        const char* Name;
        std::string Devices;
        const char* Before; // null: unset
        bool Sets;
        const char* After;
    };
    const CCase cases[] = {
        {"no card, nothing chosen", noSoundCard, nullptr, true, "null"},
        {"no card, empty choice", noSoundCard, "", true, "null"},
        {"no card, a choice made", noSoundCard, "wave", false, "wave"},
        {"a sound card", soundCard.Path(), nullptr, false, nullptr},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Before)
            setenv("ALSOFT_DRIVERS", c.Before, 1);
        else
            unsetenv("ALSOFT_DRIVERS");
        EXPECT_EQ(c.Sets, wrappers::UseNullAudioWithoutSoundCard(c.Devices));
        const char* after = std::getenv("ALSOFT_DRIVERS");
        if (c.After)
            EXPECT_STREQ(c.After, after);
        else
            EXPECT_EQ(nullptr, after);
    }
    EXPECT_TRUE(log.HasContaining("No sound card (" + noSoundCard + " is missing)"));
}
