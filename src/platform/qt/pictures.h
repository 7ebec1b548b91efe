#pragma once
// The program's pictures, drawn in code: one for each picture button, each
// telling its action apart from the others, and the splash window's picture.
#include <QIcon>
#include <QRect>
#include <string>

class QPainter;

namespace wb {

// The icon for a picture button's picture name ("previous", "next", "specs",
// "logbook", "about", "equipment-change", "weight-and-balance", "printer");
// a null icon for any other name.
QIcon pictureIcon(const std::string& picture);

// Paints a named picture into the rectangle; false for a name it does not know.
// "splash" is an aircraft in outline seen from above, with the title under it.
bool paintPicture(QPainter& painter, const QRect& area, const std::string& picture,
                  const QString& title = QString());

}  // namespace wb
