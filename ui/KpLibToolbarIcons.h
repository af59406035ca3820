#pragma once
// Pictures of the library editor's toolbar, 16x16, drawn with QPainter at 1x
// and 2x device pixel ratio on a transparent ground.
#include <QIcon>

namespace kp::ui {

// The picture of a library editor command (24501 new library, 24505 open,
// 24506 save, 24511 save as, 24512 default library, 24509 new group, 24524 new
// style, 24508 delete, 24515 / 24517 / 24516 / 24518 move to top / up / down /
// to bottom, 24525 options); a null icon for any other number.
QIcon LibToolbarIcon(int commandId);

}  // namespace kp::ui
