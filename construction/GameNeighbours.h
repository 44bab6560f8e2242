#pragma once
// The player's camera and cursor and the build-menu screen as the
// construction side reaches them through the service table; each is null
// when absent.
class ActionBuildMenu;
class SceneCamera;
class SceneCursor;
class cKV9_GlobalWrapper;

SceneCamera* SceneCameraOf(cKV9_GlobalWrapper* table);
SceneCursor* SceneCursorOf(cKV9_GlobalWrapper* table);
ActionBuildMenu* BuildMenuOf(cKV9_GlobalWrapper* table);
