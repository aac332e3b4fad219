#pragma once
// The chord mapper's button pictures, 16 x 16, drawn here rather than shipped as files: a new
// page, a crossed-out cell, and a diagram with a pencil for the shape's properties.

#include <QIcon>

namespace harmonygrid {

QIcon NewShapeIcon();
QIcon DeleteShapeIcon();
QIcon ShapePropertiesIcon();

}  // namespace harmonygrid
