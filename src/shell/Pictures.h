// The program's own pictures, drawn at run time: the icon, the toolbar pictures, the view buttons,
// the zoom cursor.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace fotavel {

// The view buttons' pictures; Orientation is the crop strip's swap of portrait and landscape.
enum class ViewPicture { Normal, Fit, Zoom, Crop, Orientation, Straighten, RedEyes };

// The application's icon: a small framed landscape.
QIcon AppIcon();
// The picture of the toolbar button named `buttonName` (32 x 32 pixels);
// a plain frame for a name it does not know.
QPixmap ToolbarPicture(const QString& buttonName);
QPixmap DrawViewPicture(ViewPicture picture, int size);
// A magnifier, its hot spot in the middle of the lens.
QCursor ZoomCursor();

}  // namespace fotavel
