#pragma once
// Small pictures drawn in code, so that the program carries no image files of its own.
#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace kesto::ui {

// The list bar's picture for an item ("Source", "Skip", ..., "Help", "About").
QIcon listItemIcon(const QString &item);
// The picture that the About banner scrolls along with its text.
QPixmap bannerPicture();
// The logo panel's own pointer: an arrow with a small star beside its tip.
QCursor logoCursor();

} // namespace kesto::ui
