#pragma once
// Pictures of the editors' toolbars, 16x16, drawn with QPainter at 1x and 2x
// device pixel ratio on a transparent ground: new and delete sub-line, and
// the four moves that both the style editor (sub-lines) and the library
// editor (styles) offer.
#include <QIcon>

namespace kp::ui {

// The picture of a toolbar command: 24513 "新建子线...", 24514 "删除子线",
// 24515 "移动到最上", 24517 "上移", 24516 "下移", 24518 "移动到最下". Any
// other command has none (a null icon).
QIcon EditorToolbarIcon(int commandId);

}  // namespace kp::ui
