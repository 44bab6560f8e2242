#pragma once
// The credit lines the credits screen writes: the six team lines of the
// first page, the four lines of the alternate-art page and the alternative
// line. They name teams and roles only.
namespace credits {

inline constexpr const char* kTeamLines[6] = {
    "Engine and Rendering Team", "Simulation Team",     "Interface Team",
    "World and Terrain Team",    "Audio and Input Team", "Data and Tools Team",
};
inline constexpr const char* kAltArtLines[4] = {
    "Concept Art Group", "Texture Painting Group", "Model Sculpting Group", "Interface Art Group",
};
inline constexpr const char* kAlternativeLine = "Everyone Who Played the Test Builds";

}  // namespace credits
