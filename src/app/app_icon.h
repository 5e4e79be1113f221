#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

// The program's icon as the desktop installs it: the pictures of the hicolor
// theme, found directly in the data folders. An icon theme lookup reads every
// theme's index first, which is too slow to do before the window shows; the
// theme is asked only when no installed picture is found (see setAppIcon).
QIcon installedAppIcon(const QString &name, const QStringList &dataFolders);

// The data folders to search: the user's and the system's, then the share
// folder beside the program's own bin folder (a prefix outside them).
QStringList appIconDataFolders(const QString &programFolder);

// Gives every window of the program its icon: the installed pictures of `name`
// from `dataFolders`, else what the icon theme has under that name. Windows
// already on screen take it over. Called once the player's first frame is on
// screen: with the pictures installed, decoding them and handing all their sizes
// to the X server cost the player a few milliseconds before it was mapped.
void setAppIcon(const QString &name, const QStringList &dataFolders);
