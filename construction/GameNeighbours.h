#pragma once
// The game's camera, cursor and build-menu screen as the construction side
// reaches them through the service table; each is null when absent.
class ActionBuildMenu;
class cEntity_GameCamera;
class cEntity_GameCursor;
class cKV9_GlobalWrapper;

cEntity_GameCamera* GameCameraOf(cKV9_GlobalWrapper* table);
cEntity_GameCursor* GameCursorOf(cKV9_GlobalWrapper* table);
ActionBuildMenu* BuildMenuOf(cKV9_GlobalWrapper* table);
