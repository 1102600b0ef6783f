#pragma once

#include "platform/picturecache.h"

#include <QImage>

#include <span>

// The pictures the launcher shows as the program starts: the window icon at the sizes a title
// bar and a task switcher ask for at scales 1 and 2, the close picture at both scales and the
// background texture; and the chronology's parchment at scale 1, its costliest picture. The
// build draws them with the windows' own code (tools/make_pictures.cpp) and builds their pixels
// into the program, so that start-up draws none of them and the parchment is read, not drawn
// nor held on the heap; any other size or scale is drawn as usual.
namespace vorn::ready {

struct ReadyPicture {
    const char* name; // built in as <name>.pixels (tools/make_pictures.cpp)
    PictureKey key;   // what the windows keep it under; no picture: the texture
};

std::span<const ReadyPicture> readyPictures();
// The pixels as the windows' code draws them now.
QImage draw(const ReadyPicture& ready);
// The pixels built into the program, read in place, or a null image where they are not.
QImage builtIn(const ReadyPicture& ready);
// Has the picture cache, where the windows look first, take the built-in pixels of a picture
// as it is first asked for: those of the other scale are never read.
void useBuiltInPictures();
// The launcher's texture: built in, else drawn now; read again each time, as the launcher's
// background keeps what is drawn with it.
QImage texture();

} // namespace vorn::ready
