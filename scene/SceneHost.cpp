#include "scene/SceneHost.h"

namespace {
SceneHost* g_host = nullptr;
}

SceneHost* InstalledSceneHost() { return g_host; }
void InstallSceneHost(SceneHost* host) { g_host = host; }
