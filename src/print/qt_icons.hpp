#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures of the toolbar buttons and of the program, drawn rather than loaded, so they
// stay sharp at every size from 16 to 64 pixels.
namespace siacci {

// The picture of toolbar button Image`image`: 1 graph, 2 "C.B.", 3 help, 4 info, 5 exit,
// 6 calculator, 9 printer. Image7 and Image8 are not used by the program: a null icon for them
// and for any other number.
QIcon toolbarIcon(int image);

// The picture of one toolbar button at one size (a null pixmap where toolbarIcon is null).
QPixmap toolbarPixmap(int image, int size);

// The program's own icon: a bullet's trajectory over a target.
QIcon applicationIcon();
QPixmap applicationPixmap(int size);

} // namespace siacci
