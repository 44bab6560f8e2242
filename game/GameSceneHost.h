#pragma once
// The game's side of the scene managers' host: the main camera and the
// particle factories from the game manager, the speed from the simulation
// clock, tornado damage from the building manager. The game manager installs
// it when it is made.
class SceneHost;

SceneHost& GameSceneHost();
