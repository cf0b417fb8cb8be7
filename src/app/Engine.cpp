#include "app/Engine.h"

namespace sds {

CEngine::CEngine() : m_QuitRequested(false), m_MenuModeState(nullptr), m_GameModeState(nullptr), m_EditorState(nullptr)
{
}

CEngine::~CEngine() = default;

void CEngine::OnStart()
{
}

} // namespace sds
