#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

// The program's icon as the desktop installs it: the pictures of the hicolor
// theme, found directly in the data folders. An icon theme lookup reads every
// theme's index first, which is too slow to do before the window shows; the
// theme is asked only when no installed picture is found (see application.cpp).
QIcon installedAppIcon(const QString &name, const QStringList &dataFolders);

// The data folders to search: the user's and the system's, then the share
// folder beside the program's own bin folder (a prefix outside them).
QStringList appIconDataFolders(const QString &programFolder);

// Gives every window of the program the installed pictures of `name` from
// `dataFolders` as its icon (windows already on screen take it over); false,
// leaving the icon as it is, when none is installed. Called once the player's
// first frame is on screen: decoding the pictures and handing all their sizes
// to the X server cost the player some 6 ms of processor time before its map.
bool setInstalledAppIcon(const QString &name, const QStringList &dataFolders);
