#pragma once
// Pictures of the sub-line pattern dialog's toolbar, 16x16, drawn with
// QPainter at 1x and 2x device pixel ratio on a transparent ground.
#include <QIcon>

namespace kp::ui {

// "新建虚实模式": a dash pair with a green plus.
QIcon PatternNewIcon();
// "删除虚实模式": a dash pair with a red cross.
QIcon PatternDeleteIcon();
// "子线颜色固定": a padlock over a colour swatch.
QIcon PatternLockColorIcon();

}  // namespace kp::ui
