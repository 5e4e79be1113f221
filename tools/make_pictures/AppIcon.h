#pragma once

#include <QString>

// The program's icon for the desktop (launcher, window list, file managers):
// a green tile with the quill and a waveform. One description of the shapes
// feeds both the scalable SVG and the PNG sizes, so they cannot drift apart.
namespace AppIcon {

inline const QString iconName = QStringLiteral("org.quillory.Quillory");

// Writes <folder>/scalable/apps/<name>.svg and <folder>/<N>x<N>/apps/<name>.png
// for the usual icon-theme sizes. Returns the written paths, or an error text
// in `error`.
QStringList writeIconTheme(const QString &folder, QString *error);

// The SVG text of the icon (256 units square).
QString svgText();

} // namespace AppIcon
