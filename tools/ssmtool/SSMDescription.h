#pragma once
// Builds an ".ssm" model from a short text description. One statement a
// line; blanks separate words; '#' starts a comment; numbers are decimal.
//
//   option <key> <value>        model tag read by the writer, e.g.
//                               "option VertCompress Grid64", "option ZCompress Yes"
//   group <name> [hidden]       starts a group; shapes and skins below belong to it
//   skin <texture>              the group's skin, naming a texture file
//   tag <key> <value>           a tag on the current group
//   box x0 y0 z0 x1 y1 z1       an axis-aligned box between two corners
//   prism x0 y0 z0 x1 y1 z1 [x|z]
//                               a gable: base rectangle at y0, ridge at y1
//                               along x (default) or z, centred on the base
//   marker <name> x y z dx dy dz
//                               an anchor at (x, y, z) whose axis runs along
//                               (dx, dy, dz); its up direction leans towards +y
//   frame <name>                a key frame, starting from the shapes' pose
//   offset <group> dx dy dz     moves a group in the latest frame
//   turn <group> degrees x z    turns a group in the latest frame about the
//                               vertical line through (x, z), before any offset
//   anim <name> [loop] [play]   an animation; "play" starts it on creation
//   key <frame> <seconds>       the next key of the latest animation
//
// Without any frame statement the model has one frame, "base". Faces wind
// clockwise seen from outside (left-handed, y up); texture coordinates are
// the face's plane coordinates, one unit per unit of length.
#include <string>

#include "renderer/formats/SSMObject.h"

// Fills `model` from `text`; on failure returns false with "line N: reason".
bool BuildSSMFromDescription(const std::string& text, SSMObject* model, std::string* error);
