#pragma once

#include <string>

#include "graphics/ILoadingProgressBar.h"

namespace sds {

// A loading bar of the in-memory graphics: it keeps the texts and the filled part.
class CMemLoadingProgressBar : public ILoadingProgressBar
{
public:
    void SetProgress(const std::string& message, float share) override
    {
        m_Description = message;
        m_Done += m_StepSize;
        m_StepSize = share;
        m_Progress = m_Done;
    }
    void SetStepProgress(const std::string& message, float fraction) override
    {
        m_Comment = message;
        m_Progress = m_Done + m_StepSize * fraction;
    }
    void Show() override { m_Shown = true; }

    std::string m_Description;
    std::string m_Comment;
    // The filled part of the bar, 0 to 1.
    float m_Progress = 0.0f;
    bool m_Shown = true;

private:
    float m_Done = 0.0f;
    float m_StepSize = 0.0f;
};

} // namespace sds
