#include "graphics/ogre/LoadingProgressBar.h"

namespace wrappers {

void CLoadingProgressBar::SetProgress(const std::string& message, float share)
{
    SetDescription(message);
    m_Done += m_StepSize;
    m_StepSize = share;
    SetFilled(m_Done);
}

void CLoadingProgressBar::SetStepProgress(const std::string& message, float fraction)
{
    SetComment(message);
    SetFilled(m_Done + m_StepSize * fraction);
}

} // namespace wrappers
